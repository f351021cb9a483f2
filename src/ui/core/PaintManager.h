#pragma once
// One per window: owns the control tree, finds controls by name, routes input, delivers
// notifications (synchronous or queued), and keeps fonts, focus, capture and timers.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/Control.h"
#include "ui/core/Event.h"
#include "ui/core/Notification.h"
#include "ui/render/Canvas.h"

namespace ui {

class Container;
class Option;
class WindowImplBase;

// Unregisters a listener when destroyed.
class ListenerHandle {
  public:
    ListenerHandle() = default;
    explicit ListenerHandle(std::function<void()> release) : release_(std::move(release)) {}
    ListenerHandle(ListenerHandle&& other) noexcept : release_(std::move(other.release_)) {
        other.release_ = nullptr;
    }
    ListenerHandle& operator=(ListenerHandle&& other) noexcept;
    ~ListenerHandle() { Reset(); }
    void Reset();

  private:
    std::function<void()> release_;
};

class PaintManager {
  public:
    explicit PaintManager(WindowImplBase* window = nullptr);
    ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    WindowImplBase* GetWindow() const { return window_; }

    // Tree
    void AttachRoot(std::unique_ptr<Control> root);
    Control* GetRoot() const { return root_.get(); }
    Control* FindControl(std::string_view name) const;
    template <typename T>
    T* Find(std::string_view name) const {
        return dynamic_cast<T*>(FindControl(name));
    }
    // For controls a window cannot work without: throws std::runtime_error naming the control.
    template <typename T>
    T& Require(std::string_view name) const {
        if (T* c = Find<T>(name)) return *c;
        ThrowMissing(name);
    }
    // Every option of `group`, in tree order.
    std::vector<Option*> GetOptionGroup(std::string_view group) const;
    // Called by controls leaving the tree: drops every reference to them, including queued
    // notifications they sent.
    void ReleaseControl(Control* control);
    // Deletes `control` after the current dispatch returns (or now when none runs).
    void DeferDelete(std::unique_ptr<Control> control);

    // Notifications
    ListenerHandle AddNotifier(NotifyListener* listener);
    ListenerHandle AddNotifier(std::function<void(Notification&)> listener);
    void SendNotify(Notification notification, bool async = false, bool repeat = false);
    void SendNotify(Control* sender, std::string_view type, intptr_t wParam = 0, intptr_t lParam = 0,
                    bool async = false, bool repeat = false);
    // Delivers queued notifications; returns how many were delivered.
    size_t DeliverQueued();
    size_t QueuedCount() const { return queue_.size(); }

    // Message filters see every window message before the window's own handler.
    using MessageFilter =
        std::function<bool(uint32_t msg, intptr_t wParam, intptr_t lParam, intptr_t& result)>;
    ListenerHandle AddMessageFilter(MessageFilter filter);
    bool FilterMessage(uint32_t msg, intptr_t wParam, intptr_t lParam, intptr_t& result);

    // Fonts by index. Index -1 or an unknown index gives the default font.
    void AddFont(int index, const FontSpec& font, bool shared = false);
    bool HasFont(int index) const { return fonts_.count(index) != 0; }
    FontSpec GetFont(int index) const;
    int GetCustomFontCount() const { return static_cast<int>(fonts_.size()); }
    // Font indices in ascending order.
    std::vector<int> GetFontIndices() const;
    const FontSpec& GetDefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const FontSpec& font);
    // The skin's <Default> attribute lists by name, for controls built in code.
    void SetDefaultAttributeList(std::string_view name, std::string value);
    std::string GetDefaultAttributeList(std::string_view name) const;

    // Window description from the skin's Window element.
    Size GetInitSize() const { return initSize_; }
    void SetInitSize(Size size) { initSize_ = size; }
    Rect GetCaptionRect() const { return caption_; }
    void SetCaptionRect(const Rect& caption) { caption_ = caption; }
    int GetRoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int radius) { roundCorner_ = radius; }

    // Layout and painting
    void SetClientSize(Size size);
    Size GetClientSize() const { return clientSize_; }
    void NeedLayout();
    void Invalidate(const Rect& rect);
    void LayoutIfNeeded();
    void Paint(Canvas& canvas, const Rect& dirty);
    bool HasLaidOut() const { return laidOut_; }

    // Focus and capture. The focused control shows a ring in the focus colour while the keyboard is
    // what the user last used (in any window); a pointer press hides the rings again.
    void SetFocus(Control* control);
    void SetFocusColor(Color color) { focusColor_ = color; }
    Color GetFocusColor() const { return focusColor_; }
    static bool FocusRingShown();
    Control* GetFocus() const { return focus_; }
    void MoveFocus(bool forward);
    void SetCapture(Control* control) { capture_ = control; }
    void ReleaseCapture() { capture_ = nullptr; }
    Control* GetCapture() const { return capture_; }
    Control* GetHot() const { return hot_; }

    // Timers deliver EventType::Timer to their control.
    void SetTimer(Control* control, uintptr_t id, uint32_t elapseMs);
    void KillTimer(Control* control, uintptr_t id);
    void KillTimers(Control* control);

    // Input from a backend, in window coordinates. ButtonDown returns true when the press landed
    // on the caption area outside any interactive control (the backend then moves the window).
    void OnMouseMove(Point pt, unsigned modifiers);
    bool OnButtonDown(Point pt, unsigned modifiers);
    void OnButtonUp(Point pt, unsigned modifiers);
    // Returns true when the double click hit the caption area (reported as kWmNcLButtonDblClk).
    bool OnDoubleClick(Point pt, unsigned modifiers);
    void OnRButtonDown(Point pt, unsigned modifiers);
    void OnRButtonUp(Point pt, unsigned modifiers);
    void OnOtherButton(uint32_t message, Point pt, uint32_t xButton);
    void OnWheel(Point pt, int delta, unsigned modifiers);
    void OnMouseLeaveWindow();
    void OnKeyDown(uint32_t vk, unsigned modifiers);
    void OnKeyUp(uint32_t vk, unsigned modifiers);
    void OnChar(const std::string& text, unsigned modifiers);
    void OnWindowFocusLost();

    Control* FindControlAt(Point pt) const;

    // The tooltip of the hot control (or of its nearest ancestor that has one) shows once the
    // pointer has rested for the backend's delay; any press, key or leaving hides it.
    WindowImplBase* GetToolTipWindow() const { return tip_.get(); }

  private:
    [[noreturn]] static void ThrowMissing(std::string_view name);
    struct Listener {
        uint64_t id;
        std::function<void(Notification&)> fn;
    };
    struct Queued {
        Notification notification;
        bool repeat;
    };
    struct Timer {
        Control* control;
        uintptr_t id;
        uint64_t backendId;
    };
    void Deliver(Notification& notification);
    void ScheduleQueueDrain();
    void SetHotControl(Control* control, Point pt);
    void Route(Control* control, UiEvent& event);
    void BeginDispatch() { ++dispatchDepth_; }
    void EndDispatch();
    void ForEachControl(const std::function<void(Control*)>& fn) const;
    static void SetKeyboardUsed(bool used);
    void InvalidateFocus();
    // Starts the delay for the tooltip of `hot` (a new control under the pointer).
    void ScheduleToolTip(Control* hot);
    // Hides the tooltip and stops its delay; `forget` also forgets whose tooltip it was, so the
    // same control shows it again only after the pointer has left it.
    void CancelToolTip(bool forget);
    void ShowToolTip();

    WindowImplBase* window_;
    std::unique_ptr<Control> root_;
    std::vector<Listener> listeners_;
    std::vector<std::pair<uint64_t, MessageFilter>> filters_;
    uint64_t nextListenerId_ = 1;
    std::deque<Queued> queue_;
    bool drainScheduled_ = false;
    std::shared_ptr<PaintManager*> alive_;  // lets posted tasks detect a destroyed manager
    std::map<int, FontSpec> fonts_;
    std::map<std::string, std::string> defaultAttributes_;  // lower-case names
    FontSpec defaultFont_;
    Size initSize_;
    Rect caption_;
    int roundCorner_ = 0;
    Size clientSize_;
    bool needLayout_ = true;
    bool laidOut_ = false;
    bool windowInitSent_ = false;
    Control* focus_ = nullptr;
    Control* capture_ = nullptr;
    Control* hot_ = nullptr;
    Control* pressed_ = nullptr;
    Color focusColor_ = 0;
    Control* tipFor_ = nullptr;  // whose tooltip is due or shown
    uint64_t tipTimer_ = 0;
    Point pointer_;
    std::unique_ptr<WindowImplBase> tip_;
    std::vector<Timer> timers_;
    int dispatchDepth_ = 0;
    std::vector<std::unique_ptr<Control>> graveyard_;
};

}  // namespace ui
