#include "ui/backend/headless/HeadlessBackend.h"

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "platform/Clock.h"
#include "ui/backend/FileDialogFlow.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/core/Window.h"
#include "ui/render/CairoCanvas.h"

namespace ui {

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<NativeWindow> HeadlessBackend::CreateNativeWindow(WindowImplBase& host, NativeWindow*,
                                                                  const WindowSpec& spec) {
    auto window = std::make_unique<HeadlessWindow>(*this, host, spec);
    windows_.push_back(window.get());
    return window;
}

void HeadlessBackend::Activate(HeadlessWindow* window) {
    if (window) {
        std::erase(activationHistory_, window);
        activationHistory_.push_back(window);
    }
    if (window == active_) return;
    HeadlessWindow* old = active_;
    active_ = window;
    if (old) old->Host().OnNativeFocusChanged(false);
    if (window) window->Host().OnNativeFocusChanged(true);
}

void HeadlessBackend::Deactivate(HeadlessWindow* window, bool notifyOld) {
    if (active_ != window) return;
    // Focus returns to the window that had it before, as a window manager would do.
    std::erase(activationHistory_, window);
    HeadlessWindow* next = nullptr;
    for (auto it = activationHistory_.rbegin(); it != activationHistory_.rend(); ++it)
        if ((*it)->IsVisible()) {
            next = *it;
            break;
        }
    active_ = next;
    if (notifyOld) window->Host().OnNativeFocusChanged(false);
    if (next) next->Host().OnNativeFocusChanged(true);
}

void HeadlessBackend::Forget(HeadlessWindow* window) {
    std::erase(windows_, window);
    Deactivate(window, false);
    std::erase(activationHistory_, window);
}

void HeadlessBackend::Post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
}

bool HeadlessBackend::RunOneStep() {
    std::function<void()> task;
    {
        std::lock_guard lock(mutex_);
        if (!tasks_.empty()) {
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
    }
    if (task) {
        task();
        return true;
    }
    if (FireDueTimers()) return true;
    return LayoutShownWindows();
}

bool HeadlessBackend::FireDueTimers() {
    uint64_t now = platform::CurrentClock().NowMs();
    for (auto& t : timers_) {
        if (t.due <= now) {
            t.due = now + std::max<uint32_t>(1, t.elapse);
            auto fire = t.fire;  // the callback may stop timers
            fire();
            return true;
        }
    }
    return false;
}

bool HeadlessBackend::LayoutShownWindows() {
    for (auto* w : std::vector<HeadlessWindow*>(windows_)) {
        if (!w->IsVisible()) continue;
        PaintManager& m = w->Host().GetManager();
        bool first = !m.HasLaidOut();
        size_t queued = m.QueuedCount();
        m.LayoutIfNeeded();
        if (first || m.QueuedCount() != queued) return true;
    }
    return false;
}

size_t HeadlessBackend::RunUntilIdle() {
    size_t steps = 0;
    while (!quit_ && RunOneStep()) {
        if (++steps > 1000000) throw std::runtime_error("the UI never goes idle (a task reposts itself?)");
    }
    return steps;
}

bool HeadlessBackend::RunUntil(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        RunUntilIdle();
        if (condition()) return true;
        std::unique_lock lock(mutex_);
        if (!posted_.wait_until(lock, deadline, [this] { return !tasks_.empty(); })) return condition();
    }
}

int HeadlessBackend::Run() {
    while (!quit_) {
        RunUntilIdle();
        if (quit_) break;
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, std::chrono::milliseconds(20), [this] { return !tasks_.empty(); });
    }
    return quitCode_;
}

void HeadlessBackend::Quit(int code) {
    quit_ = true;
    quitCode_ = code;
}

void HeadlessBackend::RunModal(WindowImplBase& modal, const std::function<bool()>& done) {
    std::string cls = modal.GetWindowClassName();
    while (!done()) {
        RunUntilIdle();
        if (done() || quit_) return;
        auto it = std::find_if(modalAnswers_.begin(), modalAnswers_.end(),
                               [&](const auto& a) { return EqualsNoCase(a.first, cls); });
        if (it != modalAnswers_.end()) {
            auto answer = std::move(it->second);
            modalAnswers_.erase(it);
            answer(modal);
            continue;
        }
        // A worker thread may still be about to post; give it a moment before giving up.
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, std::chrono::seconds(10), [this] { return !tasks_.empty(); }))
            throw std::runtime_error("modal window \"" + cls +
                                     "\" waits for the user and the test gave no answer");
    }
}

uint64_t HeadlessBackend::StartTimer(uint32_t elapseMs, std::function<void()> fire) {
    uint64_t id = nextTimer_++;
    timers_.push_back(
        {id, elapseMs, platform::CurrentClock().NowMs() + std::max<uint32_t>(1, elapseMs), std::move(fire)});
    return id;
}

void HeadlessBackend::StopTimer(uint64_t id) {
    std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
}

void HeadlessBackend::AnswerModal(std::string className, ModalAnswer answer) {
    modalAnswers_.emplace_back(std::move(className), std::move(answer));
}

void HeadlessBackend::AnswerFileDialog(std::optional<std::string> path) {
    fileAnswers_.push_back(std::move(path));
}

void HeadlessBackend::AnswerReplaceQuestion(bool replace) {
    replaceAnswers_.push_back(replace);
}

// The test's queued answers in the chooser's place: each answer is the name the user accepted.
class HeadlessBackend::ScriptedChooser final : public FileChooser {
  public:
    explicit ScriptedChooser(HeadlessBackend& backend) : backend_(backend) {}
    std::optional<std::string> Pick(const FileDialogRequest& request, bool) override {
        backend_.fileDialogs_.push_back(request);
        if (backend_.fileAnswers_.empty())
            throw std::runtime_error("a file dialog (\"" + request.title +
                                     "\") opened and the test gave no answer");
        auto answer = std::move(backend_.fileAnswers_.front());
        backend_.fileAnswers_.pop_front();
        return answer;
    }
    bool ConfirmReplace(const std::string& path) override {
        backend_.replaceQuestions_.push_back(path);
        if (backend_.replaceAnswers_.empty()) return true;
        bool replace = backend_.replaceAnswers_.front();
        backend_.replaceAnswers_.pop_front();
        return replace;
    }

  private:
    HeadlessBackend& backend_;
};

std::optional<std::string> HeadlessBackend::ShowFileDialog(const FileDialogRequest& request, NativeWindow*) {
    ScriptedChooser chooser(*this);
    return RunFileDialog(request, chooser);
}

void HeadlessBackend::ShowFatalError(const std::string& title, const std::string& text) {
    fatalErrors_.push_back({title, text});
}

bool HeadlessBackend::Snapshot(WindowImplBase& window, const std::string& pngPath) {
    Rect r = window.GetWindowRect();
    if (r.IsEmpty()) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, r.Width(), r.Height());
    cairo_t* cr = cairo_create(surface);
    {
        CairoCanvas canvas(cr);
        window.OnNativePaint(canvas, {0, 0, r.Width(), r.Height()});
    }
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(surface, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

HeadlessWindow::HeadlessWindow(HeadlessBackend& backend, WindowImplBase& host, const WindowSpec& spec)
    : backend_(backend), host_(host), spec_(spec), rect_(spec.rect), title_(spec.title) {}

HeadlessWindow::~HeadlessWindow() {
    backend_.Forget(this);
}

void HeadlessWindow::Show(bool show, bool takeFocus) {
    visible_ = show;
    if (show && takeFocus) backend_.Activate(this);
    if (!show) backend_.Deactivate(this, true);
}

void HeadlessWindow::SetRect(const Rect& rect) {
    rect_ = rect;
    host_.OnNativeResize({rect.Width(), rect.Height()});
}

}  // namespace ui
