#pragma once
// The main window: the device chooser, the tab of six device pages, the language choosers, and the
// window messages that device tasks and other processes post to it.
#include <array>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/DeviceTask.h"
#include "records/DeviceModel.h"
#include "ui/core/Window.h"

namespace ui {
class Control;
class Option;
}  // namespace ui

namespace platform {
class DeviceMonitor;
}

namespace app {

class ReadProgress;

class MainFrame final : public ui::WindowImplBase {
  public:
    static constexpr const char* kClassName = "Oakridge";

    MainFrame();
    ~MainFrame() override;

    // Creates the 1310 x 749 window; false when the main skin could not be built.
    bool Open();

    std::string GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFolder() const override { return "res/Skin/"; }
    std::string GetSkinFile() const override { return "XML/main_frame.xml"; }
    std::unique_ptr<ui::Control> CreateControl(std::string_view className) override;
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;
    void OnFinalMessage() override;

    // The model's page (at its row's place in "tab_switch").
    ui::Control* Page(DeviceModel model) const;

    // Loads a language file, retitles the window, refreshes the modifier key names and redraws.
    void ApplyLanguage(const std::string& fileName);

    // Starts a device task for the pages `selector` names (0 all, else the page of the model whose
    // row has page selector - 1) on a worker thread, opening the progress window unless one is open already.
    void StartDeviceTask(int selector, WorkerKind kind, int32_t operation);
    // From the start of a task until its pages have finished it.
    bool IsDeviceTaskRunning() const {
        return progressWindow_ != nullptr || runningJob_ != nullptr || finishing_;
    }
    ReadProgress* ProgressWindow() const { return progressWindow_; }

    // Markup the device combo's entries start with: a dot saying whether the device answered the
    // last read, or room for one before the first read.
    static constexpr const char* kDeviceUnknownMark = "{i Image/device_state.png 3 0}{x 8}";
    static constexpr const char* kDeviceAttachedMark = "{i Image/device_state.png 3 1}{x 8}";
    static constexpr const char* kDeviceAbsentMark = "{i Image/device_state.png 3 2}{x 8}";

  private:
    void SwitchLanguageByOption(ui::Option& option);
    // The option to start with: the remembered language, else the desktop's, else the first.
    ui::Option* StartLanguageOption() const;
    // The "language_%d" option whose file (or display name) is `language`, or null.
    ui::Option* LanguageOptionFor(const std::string& language) const;
    void SwitchLanguageByCombo();
    // The "language_%d" option `control` is, or null.
    ui::Option* LanguageOption(ui::Control* control) const;
    int LanguageOptionCount() const;
    void ShowDevicePage();
    // After the start-up read: the remembered page if its device answered, else the first page
    // whose device did, else the first page. Not once the user picked a page.
    void ShowStartPage();
    void ShowPageAt(int page);
    // Marks each device combo entry with its device's state.
    void MarkDeviceStates();
    void ReadSkinDeviceIds();
    // A write of one page (selector: its page + 1) with the copy the page took when the user acted.
    struct PendingWrite {
        int selector;
        std::unique_ptr<PageWork> work;
        bool reread = false;  // a page's read after a failed write
    };
    // A page's write request: started now, or kept until the running task ends.
    void RequestWrite(int selector, int32_t operation);
    void QueueWrite(PendingWrite write);
    void StartWrite(PendingWrite write);
    std::shared_ptr<DeviceTaskJob> NewJob(int selector, WorkerKind kind, int32_t operation) const;
    void RunJob(std::shared_ptr<DeviceTaskJob> job);
    void OnDeviceTaskFinished(intptr_t wParam, intptr_t lParam);
    // Waits for a worker that is still running (only at destruction).
    void JoinWorker();
    void OpenProgressWindow(bool toolWindow);

    std::array<ui::Control*, kTaskPageCount> pages_{};
    ReadProgress* progressWindow_ = nullptr;
    std::shared_ptr<DeviceTaskJob> runningJob_;
    std::thread worker_;
    // Waiting writes in arrival order; one with the same page and merge key as a later one takes
    // the later copy.
    std::deque<PendingWrite> pendingWrites_;
    bool finishing_ = false;  // the pages are finishing the last task (a finish may open a message box)
    // Progress windows opened so far; closed ones go when the next opens or the frame goes.
    std::vector<std::unique_ptr<ReadProgress>> progressWindows_;
    bool closeRequested_ = false;
    bool userPickedPage_ = false;
    bool startReadRunning_ = false;  // until the pages have taken the start-up read in
    // The device combo entries' texts as the skin has them, by entry.
    std::vector<std::string> deviceEntryTexts_;
    std::unique_ptr<platform::DeviceMonitor> deviceMonitor_;
};

}  // namespace app
