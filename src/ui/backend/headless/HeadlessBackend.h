#pragma once
// Windows in memory, for tests: no display, a clock the test drives, and answers for modal windows
// and file dialogs queued by the test in advance. Input enters through the same PaintManager entry
// points a real window uses.
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/backend/Backend.h"

namespace ui {

class HeadlessWindow;

class HeadlessBackend final : public Backend {
  public:
    using ModalAnswer = std::function<void(WindowImplBase& window)>;

    HeadlessBackend();
    ~HeadlessBackend() override;

    std::unique_ptr<NativeWindow> CreateNativeWindow(WindowImplBase& host, NativeWindow* owner,
                                                     const WindowSpec& spec) override;
    void Post(std::function<void()> task) override;
    int Run() override;
    void Quit(int code) override;
    void RunModal(WindowImplBase& modal, const std::function<bool()>& done) override;
    uint64_t StartTimer(uint32_t elapseMs, std::function<void()> fire) override;
    void StopTimer(uint64_t id) override;
    Rect WorkArea() const override { return {0, 0, 1920, 1040}; }
    bool IsCompositing() const override { return false; }
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request, NativeWindow* owner) override;
    void ShowFatalError(const std::string& title, const std::string& text) override;
    // The desktop's tooltip delay, as a test sets it.
    uint32_t ToolTipDelayMs() const override { return toolTipDelayMs_; }
    void SetToolTipDelayMs(uint32_t ms) { toolTipDelayMs_ = ms; }

    // Runs posted tasks, due timers and first layouts until nothing is left. Returns the number of
    // steps taken.
    size_t RunUntilIdle();
    // Runs until `condition` holds, waiting up to `timeoutMs` of real time for other threads to post.
    bool RunUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
    bool HasQuit() const { return quit_; }
    int QuitCode() const { return quitCode_; }

    // The next modal window of `className` (case-insensitive) runs `answer` once it is idle.
    void AnswerModal(std::string className, ModalAnswer answer);
    size_t PendingModalAnswers() const { return modalAnswers_.size(); }
    // The next file dialog's chooser accepts `path` as the user typed it (nullopt: cancelled); a
    // save dialog then adds its default extension, as on the desktop.
    void AnswerFileDialog(std::optional<std::string> path);
    const std::vector<FileDialogRequest>& FileDialogsShown() const { return fileDialogs_; }
    struct FatalError {
        std::string title;
        std::string text;
    };
    // Every fatal-error dialog asked for, oldest first; each counts as closed at once.
    const std::vector<FatalError>& FatalErrorsShown() const { return fatalErrors_; }
    // The next "replace the existing file?" question gets `replace`; unanswered ones replace.
    void AnswerReplaceQuestion(bool replace);
    const std::vector<std::string>& ReplaceQuestionsAsked() const { return replaceQuestions_; }

    // The window that has the keyboard focus.
    HeadlessWindow* GetActive() const { return active_; }
    void Activate(HeadlessWindow* window);
    void Forget(HeadlessWindow* window);
    void Deactivate(HeadlessWindow* window, bool notifyOld);

    // Renders a window into a PNG file.
    bool Snapshot(WindowImplBase& window, const std::string& pngPath);

  private:
    bool RunOneStep();
    bool FireDueTimers();
    bool LayoutShownWindows();
    struct Timer {
        uint64_t id;
        uint32_t elapse;
        uint64_t due;
        std::function<void()> fire;
    };
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
    std::vector<Timer> timers_;
    uint64_t nextTimer_ = 1;
    uint32_t toolTipDelayMs_ = 500;
    bool quit_ = false;
    int quitCode_ = 0;
    std::deque<std::pair<std::string, ModalAnswer>> modalAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::vector<FatalError> fatalErrors_;
    class ScriptedChooser;
    std::deque<bool> replaceAnswers_;
    std::vector<std::string> replaceQuestions_;
    std::vector<HeadlessWindow*> windows_;
    HeadlessWindow* active_ = nullptr;
    std::vector<HeadlessWindow*> activationHistory_;  // oldest first
};

class HeadlessWindow final : public NativeWindow {
  public:
    HeadlessWindow(HeadlessBackend& backend, WindowImplBase& host, const WindowSpec& spec);
    ~HeadlessWindow() override;
    void Show(bool show, bool takeFocus) override;
    bool IsVisible() const override { return visible_; }
    void SetRect(const Rect& rect) override;
    Rect GetRect() const override { return rect_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string GetTitle() const override { return title_; }
    void Invalidate(const Rect&) override { ++invalidations_; }
    void Minimize() override { minimized_ = true; }
    bool IsMinimized() const override { return minimized_; }
    void ToggleMaximize() override { maximized_ = !maximized_; }
    bool IsMaximized() const override { return maximized_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool IsEnabled() const override { return enabled_; }
    void BeginMove(Point) override { ++moves_; }
    void WarpPointer(Point pt) override { warpedTo_ = pt; }
    std::optional<Point> WarpedTo() const { return warpedTo_; }

    WindowImplBase& Host() const { return host_; }
    const WindowSpec& Spec() const { return spec_; }
    int MoveCount() const { return moves_; }

  private:
    HeadlessBackend& backend_;
    WindowImplBase& host_;
    WindowSpec spec_;
    Rect rect_;
    std::string title_;
    bool visible_ = false;
    bool minimized_ = false;
    bool maximized_ = false;
    bool enabled_ = true;
    int moves_ = 0;
    std::optional<Point> warpedTo_;
    int invalidations_ = 0;
};

}  // namespace ui
