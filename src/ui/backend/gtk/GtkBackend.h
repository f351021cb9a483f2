#pragma once
// Real windows on GTK3: undecorated top-levels drawn with Cairo, the skin's caption as drag area,
// tool and top-most windows, tooltip windows after the desktop's delay, nested loops for modal
// windows, GTK file choosers, GTK message dialogs for fatal errors.
#include <map>
#include <memory>

#include "ui/backend/Backend.h"

namespace ui {

class GtkBackend final : public Backend {
  public:
    // Null when no display can be opened.
    static std::unique_ptr<GtkBackend> Create();
    ~GtkBackend() override;

    std::unique_ptr<NativeWindow> CreateNativeWindow(WindowImplBase& host, NativeWindow* owner,
                                                     const WindowSpec& spec) override;
    void Post(std::function<void()> task) override;
    int Run() override;
    void Quit(int code) override;
    void ShowFatalError(const std::string& title, const std::string& text) override;
    void RunModal(WindowImplBase& modal, const std::function<bool()>& done) override;
    uint64_t StartTimer(uint32_t elapseMs, std::function<void()> fire) override;
    void StopTimer(uint64_t id) override;
    Rect WorkArea() const override;
    bool IsCompositing() const override;
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request, NativeWindow* owner) override;
    uint32_t ToolTipDelayMs() const override;

  private:
    GtkBackend() = default;
    struct TimerData;
    std::map<uint64_t, TimerData*> timers_;
    uint64_t nextTimer_ = 1;
    int quitCode_ = 0;
    bool quit_ = false;
    int loopDepth_ = 0;
};

}  // namespace ui
