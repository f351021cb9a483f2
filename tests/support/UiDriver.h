#pragma once
// Drives the program like a user on the headless backend: clicks are hit-tested at the control's
// centre (so hidden or disabled controls cannot be clicked), keys go to the focused control,
// modal windows and file dialogs are answered in advance, and the clock is the test's.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "ui/backend/headless/HeadlessBackend.h"
#include "ui/core/Control.h"
#include "ui/core/Window.h"

namespace oaktest {

class UiDriver {
  public:
    // Sets up the toolkit on a headless backend with the program folder's skin
    // (OAKRIDGE_BIN_DIR/res/Skin/) and a manual clock.
    UiDriver();
    ~UiDriver();
    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;

    ui::HeadlessBackend& Backend() { return *backend_; }
    platform::ManualClock& Clock() { return clock_; }
    // Skin reports the toolkit would have ended the process for.
    const std::vector<std::string>& SkinErrors() const { return skinErrors_; }

    // The window a user acts on: the named class (newest first), or the focused window.
    ui::WindowImplBase& Window(const std::string& className = "");
    ui::Control& Find(const std::string& name, const std::string& className = "");
    template <typename T>
    T& Find(const std::string& name, const std::string& className = "") {
        auto* typed = dynamic_cast<T*>(&Find(name, className));
        if (!typed) throw std::runtime_error("control \"" + name + "\" has another type");
        return *typed;
    }
    bool Exists(const std::string& name, const std::string& className = "");

    // Pointer
    void Click(const std::string& name, const std::string& className = "");
    void RightClick(const std::string& name, const std::string& className = "");
    void RightClickAt(ui::Point pt, const std::string& className = "");
    void DoubleClickAt(ui::Point pt, const std::string& className = "");
    void ClickAt(ui::Point pt, const std::string& className = "");
    // Clicks row `index` of the list `listName`, scrolled into view first.
    void ClickRow(const std::string& listName, int index, const std::string& className = "");
    void Hover(const std::string& name, const std::string& className = "");
    // Raw pointer steps for drags that are not a slider's: press, move while held, release.
    void MouseDown(ui::Point pt, const std::string& className = "");
    void MouseMove(ui::Point pt, const std::string& className = "");
    void MouseUp(ui::Point pt, const std::string& className = "");
    void Wheel(const std::string& name, int delta, const std::string& className = "");
    // Opens the combo and clicks the row.
    void SelectComboItem(const std::string& comboName, int index, const std::string& className = "");
    // Presses on the thumb, drags to `value` one step at a time, releases.
    void DragSlider(const std::string& name, int value, const std::string& className = "");

    // Keyboard (to the focused window and control)
    void Type(const std::string& editName, const std::string& text, const std::string& className = "");
    void TypeText(const std::string& text);
    void PressKey(uint32_t vk, unsigned modifiers = 0);
    void KeyDown(uint32_t vk, unsigned modifiers = 0);
    void KeyUp(uint32_t vk, unsigned modifiers = 0);
    void Tab(bool forward = true);

    // Loop and clock
    void RunUntilIdle();
    bool RunUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
    void AdvanceClock(uint64_t ms);

    // Answers
    void AnswerModal(const std::string& className, std::function<void(ui::WindowImplBase&)> answer);
    // The next modal window of `className` gets a click on `buttonName`.
    void PressInNextModal(const std::string& className, const std::string& buttonName);
    void AnswerFileDialog(std::optional<std::string> path);
    // The next "replace the existing file?" question of a save dialog (unanswered ones replace).
    void AnswerReplaceQuestion(bool replace);
    const std::vector<std::string>& ReplaceQuestionsAsked() const;

    // Reading back
    std::string Text(const std::string& name, const std::string& className = "");
    std::string ResolvedText(const std::string& name, const std::string& className = "");
    bool IsSelected(const std::string& name, const std::string& className = "");
    bool IsVisible(const std::string& name, const std::string& className = "");
    bool IsEnabled(const std::string& name, const std::string& className = "");
    int Value(const std::string& name, const std::string& className = "");
    int CurSel(const std::string& name, const std::string& className = "");

    // Renders a window to a PNG for a person to look at.
    bool Snapshot(const std::string& pngPath, const std::string& className = "");

  private:
    ui::Point CenterOf(ui::Control& control, ui::WindowImplBase& window);
    void Activate(ui::WindowImplBase& window);
    std::unique_ptr<ui::HeadlessBackend> ownedBackend_;
    ui::HeadlessBackend* backend_;
    platform::ManualClock clock_;
    std::vector<std::string> skinErrors_;
};

// Records the notifications one paint manager delivers.
class NotificationRecorder {
  public:
    explicit NotificationRecorder(ui::PaintManager& manager);
    struct Entry {
        std::string type;
        std::string sender;  // empty without a sender
        intptr_t wParam;
        intptr_t lParam;
        ui::Point pointer;
    };
    const std::vector<Entry>& Entries() const { return entries_; }
    // "type:sender" strings, for compact assertions.
    std::vector<std::string> Seen() const;
    size_t Count(const std::string& type) const;
    void Clear() { entries_.clear(); }

  private:
    std::vector<Entry> entries_;
    ui::ListenerHandle handle_;
};

}  // namespace oaktest
