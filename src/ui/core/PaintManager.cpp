#include "ui/core/PaintManager.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Clock.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/controls/Option.h"
#include "ui/controls/ToolTipWindow.h"
#include "ui/core/Container.h"
#include "ui/core/InputHooks.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/core/Window.h"
#include "ui/text/TextTable.h"

namespace ui {
namespace {

// Whether the user last used the keyboard rather than the pointer, in any window.
bool keyboardUsed = false;

}  // namespace

ListenerHandle& ListenerHandle::operator=(ListenerHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        release_ = std::move(other.release_);
        other.release_ = nullptr;
    }
    return *this;
}

void ListenerHandle::Reset() {
    if (release_) {
        auto release = std::move(release_);
        release_ = nullptr;
        release();
    }
}

PaintManager::PaintManager(WindowImplBase* window)
    : window_(window), alive_(std::make_shared<PaintManager*>(this)) {}

PaintManager::~PaintManager() {
    CancelToolTip(true);
    *alive_ = nullptr;
    for (auto& t : timers_)
        if (Toolkit::IsInitialised()) Toolkit::GetBackend().StopTimer(t.backendId);
    timers_.clear();
    queue_.clear();
    listeners_.clear();
    // Controls report their removal to us while the tree is torn down; keep the pointers valid.
    auto root = std::move(root_);
    root.reset();
    graveyard_.clear();
}

void PaintManager::ThrowMissing(std::string_view name) {
    throw std::runtime_error("the skin lacks the control \"" + std::string(name) + "\"");
}

void PaintManager::AttachRoot(std::unique_ptr<Control> root) {
    if (root_) {
        ReleaseControl(root_.get());
        DeferDelete(std::move(root_));
    }
    root_ = std::move(root);
    if (root_) root_->SetManager(this, nullptr);
    NeedLayout();
}

void PaintManager::ForEachControl(const std::function<void(Control*)>& fn) const {
    if (!root_) return;
    std::vector<Control*> stack{root_.get()};
    while (!stack.empty()) {
        Control* c = stack.back();
        stack.pop_back();
        fn(c);
        if (auto* container = dynamic_cast<Container*>(c)) {
            for (int i = container->GetCount() - 1; i >= 0; --i) stack.push_back(container->GetItemAt(i));
        }
    }
}

Control* PaintManager::FindControl(std::string_view name) const {
    if (name.empty()) return nullptr;
    Control* found = nullptr;
    ForEachControl([&](Control* c) {
        if (!found && c->NameIs(name)) found = c;
    });
    return found;
}

std::vector<Option*> PaintManager::GetOptionGroup(std::string_view group) const {
    std::vector<Option*> out;
    if (group.empty()) return out;
    ForEachControl([&](Control* c) {
        if (auto* o = dynamic_cast<Option*>(c); o && o->GetGroup() == group) out.push_back(o);
    });
    return out;
}

void PaintManager::ReleaseControl(Control* control) {
    std::erase_if(queue_, [control](const Queued& q) { return q.notification.sender == control; });
    if (focus_ == control) focus_ = nullptr;
    if (capture_ == control) capture_ = nullptr;
    if (hot_ == control) hot_ = nullptr;
    if (pressed_ == control) pressed_ = nullptr;
    if (tipFor_ == control) CancelToolTip(true);
    KillTimers(control);
}

void PaintManager::DeferDelete(std::unique_ptr<Control> control) {
    if (!control) return;
    if (dispatchDepth_ > 0)
        graveyard_.push_back(std::move(control));
    else
        control.reset();
}

void PaintManager::EndDispatch() {
    if (--dispatchDepth_ == 0 && !graveyard_.empty()) {
        auto dead = std::move(graveyard_);
        graveyard_.clear();
        dead.clear();
    }
}

ListenerHandle PaintManager::AddNotifier(NotifyListener* listener) {
    return AddNotifier([listener](Notification& n) { listener->Notify(n); });
}

ListenerHandle PaintManager::AddNotifier(std::function<void(Notification&)> listener) {
    uint64_t id = nextListenerId_++;
    listeners_.push_back({id, std::move(listener)});
    std::weak_ptr<PaintManager*> alive = alive_;
    return ListenerHandle([alive, id] {
        auto p = alive.lock();
        if (!p || !*p) return;
        std::erase_if((*p)->listeners_, [id](const Listener& l) { return l.id == id; });
    });
}

ListenerHandle PaintManager::AddMessageFilter(MessageFilter filter) {
    uint64_t id = nextListenerId_++;
    filters_.emplace_back(id, std::move(filter));
    std::weak_ptr<PaintManager*> alive = alive_;
    return ListenerHandle([alive, id] {
        auto p = alive.lock();
        if (!p || !*p) return;
        std::erase_if((*p)->filters_, [id](const auto& f) { return f.first == id; });
    });
}

bool PaintManager::FilterMessage(uint32_t msg, intptr_t wParam, intptr_t lParam, intptr_t& result) {
    auto filters = filters_;
    for (auto& [id, filter] : filters)
        if (filter(msg, wParam, lParam, result)) return true;
    return false;
}

void PaintManager::Deliver(Notification& notification) {
    BeginDispatch();
    // Listeners may come and go while one runs: walk a snapshot of the ids.
    std::vector<uint64_t> ids;
    ids.reserve(listeners_.size());
    for (auto& l : listeners_) ids.push_back(l.id);
    for (uint64_t id : ids) {
        auto it = std::find_if(listeners_.begin(), listeners_.end(),
                               [id](const Listener& l) { return l.id == id; });
        if (it == listeners_.end()) continue;
        auto fn = it->fn;
        fn(notification);
    }
    EndDispatch();
}

void PaintManager::SendNotify(Notification notification, bool async, bool repeat) {
    notification.timestamp = platform::CurrentClock().NowMs();
    if (!async) {
        Deliver(notification);
        return;
    }
    if (!repeat) {
        for (auto& q : queue_) {
            const auto& n = q.notification;
            if (n.type == notification.type && n.sender == notification.sender &&
                n.wParam == notification.wParam && n.lParam == notification.lParam)
                return;
        }
    }
    queue_.push_back({std::move(notification), repeat});
    ScheduleQueueDrain();
}

void PaintManager::SendNotify(Control* sender, std::string_view type, intptr_t wParam, intptr_t lParam,
                              bool async, bool repeat) {
    Notification n;
    n.type = std::string(type);
    n.sender = sender;
    n.wParam = wParam;
    n.lParam = lParam;
    SendNotify(std::move(n), async, repeat);
}

void PaintManager::ScheduleQueueDrain() {
    if (drainScheduled_ || !Toolkit::IsInitialised()) return;
    drainScheduled_ = true;
    std::weak_ptr<PaintManager*> alive = alive_;
    Toolkit::PostTask([alive] {
        auto p = alive.lock();
        if (p && *p) (*p)->DeliverQueued();
    });
}

size_t PaintManager::DeliverQueued() {
    drainScheduled_ = false;
    // Only what was queued before this drain; notifications sent meanwhile wait for the next one.
    size_t count = queue_.size();
    size_t delivered = 0;
    std::weak_ptr<PaintManager*> alive = alive_;
    while (delivered < count && !queue_.empty()) {
        Notification n = std::move(queue_.front().notification);
        queue_.pop_front();
        ++delivered;
        Deliver(n);
        auto p = alive.lock();
        if (!p || !*p) return delivered;
    }
    if (!queue_.empty()) ScheduleQueueDrain();
    return delivered;
}

void PaintManager::AddFont(int index, const FontSpec& font, bool shared) {
    fonts_[index] = font;
}

FontSpec PaintManager::GetFont(int index) const {
    auto it = fonts_.find(index);
    return it == fonts_.end() ? defaultFont_ : it->second;
}

std::vector<int> PaintManager::GetFontIndices() const {
    std::vector<int> out;
    for (auto& [i, f] : fonts_) out.push_back(i);
    return out;
}

void PaintManager::SetDefaultFont(const FontSpec& font) {
    defaultFont_ = font;
    NeedLayout();
}

void PaintManager::SetDefaultAttributeList(std::string_view name, std::string value) {
    defaultAttributes_[ToLower(name)] = std::move(value);
}

std::string PaintManager::GetDefaultAttributeList(std::string_view name) const {
    auto it = defaultAttributes_.find(ToLower(name));
    return it == defaultAttributes_.end() ? std::string() : it->second;
}

void PaintManager::SetClientSize(Size size) {
    if (size == clientSize_) return;
    clientSize_ = size;
    NeedLayout();
}

void PaintManager::NeedLayout() {
    needLayout_ = true;
    Invalidate({0, 0, clientSize_.cx, clientSize_.cy});
}

void PaintManager::Invalidate(const Rect& rect) {
    if (window_ && window_->GetNative()) window_->GetNative()->Invalidate(rect);
}

void PaintManager::LayoutIfNeeded() {
    if (!root_ || !needLayout_) return;
    needLayout_ = false;
    root_->SetPos({0, 0, clientSize_.cx, clientSize_.cy});
    laidOut_ = true;
    if (!windowInitSent_) {
        windowInitSent_ = true;
        SendNotify(root_.get(), "windowinit", 0, 0, true, false);
    }
}

void PaintManager::Paint(Canvas& canvas, const Rect& dirty) {
    LayoutIfNeeded();
    if (root_) root_->Paint(canvas, dirty);
}

void PaintManager::SetFocus(Control* control) {
    if (control == focus_) return;
    Control* old = focus_;
    focus_ = control;
    if (old) {
        old->focused_ = false;
        old->Invalidate();
        UiEvent e{EventType::KillFocus};
        Route(old, e);
    }
    if (control && focus_ == control) {
        control->focused_ = true;
        control->Invalidate();
        UiEvent e{EventType::SetFocus};
        Route(control, e);
    }
}

bool PaintManager::FocusRingShown() {
    return keyboardUsed;
}

void PaintManager::SetKeyboardUsed(bool used) {
    keyboardUsed = used;
}

void PaintManager::InvalidateFocus() {
    if (focus_) focus_->Invalidate();
}

void PaintManager::ScheduleToolTip(Control* hot) {
    Control* owner = hot;
    while (owner && owner->GetToolTip().empty()) owner = owner->GetParent();
    if (owner == tipFor_) return;
    CancelToolTip(true);
    if (!owner || !window_ || !window_->HasNativeWindow() || !Toolkit::IsInitialised()) return;
    tipFor_ = owner;
    std::weak_ptr<PaintManager*> alive = alive_;
    tipTimer_ = Toolkit::GetBackend().StartTimer(Toolkit::GetBackend().ToolTipDelayMs(), [alive] {
        auto p = alive.lock();
        if (p && *p) (*p)->ShowToolTip();
    });
}

void PaintManager::CancelToolTip(bool forget) {
    if (tipTimer_ && Toolkit::IsInitialised()) Toolkit::GetBackend().StopTimer(tipTimer_);
    tipTimer_ = 0;
    tip_.reset();
    if (forget) tipFor_ = nullptr;
}

void PaintManager::ShowToolTip() {
    if (tipTimer_ && Toolkit::IsInitialised()) Toolkit::GetBackend().StopTimer(tipTimer_);
    tipTimer_ = 0;
    if (!tipFor_ || !tipFor_->IsShown() || !window_ || tip_) return;
    std::string text = TextTable::Instance().Resolve(tipFor_->GetToolTip());
    if (text.empty()) return;
    const Rect r = window_->GetWindowRect();
    auto tip = std::make_unique<ToolTipWindow>(*window_, std::move(text),
                                               Point{r.left + pointer_.x, r.top + pointer_.y});
    if (tip->Open()) tip_ = std::move(tip);
}

void PaintManager::MoveFocus(bool forward) {
    std::vector<Control*> order;
    ForEachControl([&](Control* c) {
        if (c->WantsFocus() && c->IsKeyboardEnabled() && c->IsShown() && c->IsEffectivelyEnabled())
            order.push_back(c);
    });
    if (order.empty()) return;
    auto it = std::find(order.begin(), order.end(), focus_);
    size_t next;
    if (it == order.end())
        next = forward ? 0 : order.size() - 1;
    else {
        size_t i = static_cast<size_t>(it - order.begin());
        next = forward ? (i + 1) % order.size() : (i + order.size() - 1) % order.size();
    }
    SetFocus(order[next]);
}

void PaintManager::SetTimer(Control* control, uintptr_t id, uint32_t elapseMs) {
    KillTimer(control, id);
    if (!Toolkit::IsInitialised()) return;  // a tree built off-screen (the language loader) has no clock
    std::weak_ptr<PaintManager*> alive = alive_;
    uint64_t backendId = Toolkit::GetBackend().StartTimer(elapseMs, [alive, control, id] {
        auto p = alive.lock();
        if (!p || !*p) return;
        PaintManager* self = *p;
        bool live = std::any_of(self->timers_.begin(), self->timers_.end(),
                                [&](const Timer& t) { return t.control == control && t.id == id; });
        if (!live) return;
        UiEvent e{EventType::Timer};
        e.timerId = id;
        self->Route(control, e);
    });
    timers_.push_back({control, id, backendId});
}

void PaintManager::KillTimer(Control* control, uintptr_t id) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->control == control && it->id == id) {
            if (Toolkit::IsInitialised()) Toolkit::GetBackend().StopTimer(it->backendId);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

void PaintManager::KillTimers(Control* control) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->control == control) {
            if (Toolkit::IsInitialised()) Toolkit::GetBackend().StopTimer(it->backendId);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

Control* PaintManager::FindControlAt(Point pt) const {
    const_cast<PaintManager*>(this)->LayoutIfNeeded();
    if (!root_) return nullptr;
    return root_->FindControlAt(pt);
}

void PaintManager::Route(Control* control, UiEvent& event) {
    if (!control) return;
    BeginDispatch();
    if (const auto& filter = control->GetEventFilter(); !filter || !filter(event)) control->DoEvent(event);
    EndDispatch();
}

void PaintManager::SetHotControl(Control* control, Point pt) {
    if (control == hot_) return;
    Control* old = hot_;
    hot_ = control;
    if (old) {
        UiEvent e{EventType::MouseLeave, pt};
        Route(old, e);
    }
    if (control && hot_ == control) {
        UiEvent e{EventType::MouseEnter, pt};
        Route(control, e);
    }
    ScheduleToolTip(hot_);
}

void PaintManager::OnMouseMove(Point pt, unsigned modifiers) {
    InputHooks::Offer(kWmMouseMove, 0, 0);
    pointer_ = pt;
    if (capture_) {
        UiEvent e{EventType::MouseMove, pt};
        e.modifiers = modifiers;
        Route(capture_, e);
        return;
    }
    Control* hit = FindControlAt(pt);
    SetHotControl(hit, pt);
    if (hit) {
        UiEvent e{EventType::MouseMove, pt};
        e.modifiers = modifiers;
        Route(hit, e);
    }
}

bool PaintManager::OnButtonDown(Point pt, unsigned modifiers) {
    InputHooks::SetKeyDown(kVkLButton, true);
    InputHooks::Offer(kWmLButtonDown, kVkLButton, 0);
    pointer_ = pt;
    Control* hit = FindControlAt(pt);
    SetHotControl(hit, pt);
    CancelToolTip(false);
    SetKeyboardUsed(false);
    InvalidateFocus();
    bool inCaption = caption_.bottom > 0 && pt.y >= caption_.top && pt.y < caption_.bottom &&
                     pt.x >= caption_.left && (caption_.right <= 0 || pt.x < clientSize_.cx - caption_.right);
    if (!hit || !hit->IsEffectivelyEnabled()) {
        SetFocus(nullptr);
        return inCaption;
    }
    // A press inside a list row or a tree node focuses the control that owns it.
    Control* focus = hit;
    while (focus && !focus->WantsFocus()) focus = focus->GetParent();
    SetFocus(focus && focus->TakesFocusOnClick() ? focus : nullptr);
    pressed_ = hit;
    capture_ = hit;
    UiEvent e{EventType::ButtonDown, pt};
    e.modifiers = modifiers;
    Route(hit, e);
    if (inCaption && !hit->IsInteractive()) {
        capture_ = nullptr;
        pressed_ = nullptr;
        return true;
    }
    return false;
}

void PaintManager::OnButtonUp(Point pt, unsigned modifiers) {
    InputHooks::SetKeyDown(kVkLButton, false);
    InputHooks::Offer(kWmLButtonUp, kVkLButton, 0);
    Control* target = capture_ ? capture_ : FindControlAt(pt);
    capture_ = nullptr;
    pressed_ = nullptr;
    if (target) {
        UiEvent e{EventType::ButtonUp, pt};
        e.modifiers = modifiers;
        Route(target, e);
    }
    SetHotControl(FindControlAt(pt), pt);
}

bool PaintManager::OnDoubleClick(Point pt, unsigned modifiers) {
    InputHooks::Offer(kWmLButtonDblClk, kVkLButton, 0);
    Control* hit = FindControlAt(pt);
    bool inCaption = caption_.bottom > 0 && pt.y >= caption_.top && pt.y < caption_.bottom;
    if (inCaption && (!hit || !hit->IsInteractive())) return true;
    if (hit && hit->IsEffectivelyEnabled()) {
        UiEvent e{EventType::DblClick, pt};
        e.modifiers = modifiers;
        Route(hit, e);
    }
    return false;
}

void PaintManager::OnRButtonDown(Point pt, unsigned modifiers) {
    InputHooks::SetKeyDown(kVkRButton, true);
    InputHooks::Offer(kWmRButtonDown, kVkRButton, 0);
    CancelToolTip(false);
    SetKeyboardUsed(false);
    InvalidateFocus();
    Control* hit = FindControlAt(pt);
    if (hit && hit->IsEffectivelyEnabled()) {
        UiEvent e{EventType::RButtonDown, pt};
        e.modifiers = modifiers;
        Route(hit, e);
    }
}

void PaintManager::OnRButtonUp(Point pt, unsigned modifiers) {
    InputHooks::SetKeyDown(kVkRButton, false);
    InputHooks::Offer(kWmRButtonUp, kVkRButton, 0);
    Control* hit = FindControlAt(pt);
    if (hit && hit->IsEffectivelyEnabled()) {
        UiEvent e{EventType::RButtonUp, pt};
        e.modifiers = modifiers;
        Route(hit, e);
    }
}

void PaintManager::OnOtherButton(uint32_t message, Point pt, uint32_t xButton) {
    uint32_t vk = 0;
    bool down = message == kWmMButtonDown || message == kWmXButtonDown;
    if (message == kWmMButtonDown || message == kWmMButtonUp)
        vk = kVkMButton;
    else
        vk = xButton == 1 ? kVkXButton1 : kVkXButton2;
    InputHooks::SetKeyDown(vk, down);
    InputHooks::Offer(message, vk, static_cast<int32_t>(xButton << 16));
}

void PaintManager::OnWheel(Point pt, int delta, unsigned modifiers) {
    InputHooks::Offer(kWmMouseWheel, 0, delta);
    CancelToolTip(false);
    for (Control* c = FindControlAt(pt); c; c = c->GetParent()) {
        if (!c->IsEffectivelyEnabled()) continue;
        UiEvent e{EventType::Wheel, pt};
        e.wheelDelta = delta;
        e.modifiers = modifiers;
        Route(c, e);
        if (e.handled) break;
    }
}

void PaintManager::OnMouseLeaveWindow() {
    if (!capture_) SetHotControl(nullptr, {});
}

void PaintManager::OnKeyDown(uint32_t vk, unsigned modifiers) {
    InputHooks::SetKeyDown(vk, true);
    InputHooks::Offer((modifiers & kModAlt) ? kWmSysKeyDown : kWmKeyDown, vk, 0);
    CancelToolTip(false);
    if (!keyboardUsed) {
        SetKeyboardUsed(true);
        InvalidateFocus();
    }
    if (vk == kVkTab && !(modifiers & (kModCtrl | kModAlt))) {
        MoveFocus(!(modifiers & kModShift));
        return;
    }
    bool handled = false;
    if (focus_ && focus_->IsEffectivelyEnabled()) {
        UiEvent e{EventType::KeyDown};
        e.key = vk;
        e.modifiers = modifiers;
        Route(focus_, e);
        handled = e.handled;
    }
    // Keys no control used reach the window, as a dialog sees them (Escape, Enter).
    if (!handled && window_) window_->SendMessage(kWmKeyDown, vk, modifiers);
}

void PaintManager::OnKeyUp(uint32_t vk, unsigned modifiers) {
    InputHooks::SetKeyDown(vk, false);
    InputHooks::Offer((modifiers & kModAlt) ? kWmSysKeyUp : kWmKeyUp, vk, 0);
    if (focus_ && focus_->IsEffectivelyEnabled()) {
        UiEvent e{EventType::KeyUp};
        e.key = vk;
        e.modifiers = modifiers;
        Route(focus_, e);
    }
}

void PaintManager::OnChar(const std::string& text, unsigned modifiers) {
    if (focus_ && focus_->IsEffectivelyEnabled()) {
        UiEvent e{EventType::Char};
        e.text = text;
        e.modifiers = modifiers;
        Route(focus_, e);
    }
}

void PaintManager::OnWindowFocusLost() {
    if (capture_) {
        UiEvent e{EventType::ButtonUp, {-1, -1}};
        Control* c = capture_;
        capture_ = nullptr;
        pressed_ = nullptr;
        Route(c, e);
    }
    SetFocus(nullptr);
    SetHotControl(nullptr, {});
    CancelToolTip(true);
}

}  // namespace ui
