#include "ui/controls/List.h"

#include <algorithm>

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/core/VirtualKeys.h"
#include "ui/render/Canvas.h"

namespace ui {

bool List::SelectItem(int index, Notify notify) {
    if (index < -1 || index >= GetCount()) return false;
    if (index == current_) return true;
    int old = current_;
    current_ = index;
    if (index >= 0) EnsureVisible(index);
    Invalidate();
    if (notify == Notify::Yes) SendNotify("itemselect", current_, old);
    return true;
}

void List::OnContextMenu(Point pt) {
    if (!manager_) return;
    Notification n;
    n.type = "menu";
    n.sender = this;
    n.pointer = pt;
    n.wParam = pt.x;
    n.lParam = pt.y;
    manager_->SendNotify(std::move(n));
}

int List::GetContentHeight() const {
    int h = 0;
    for (auto& item : items_) {
        if (!item->IsVisible()) continue;
        const Rect& p = item->GetPadding();
        h += item->EstimateSize({rect_.Width(), 0}).cy + p.top + p.bottom + childPadding_;
    }
    return std::max(0, h - childPadding_) + inset_.top + inset_.bottom;
}

void List::SetScrollPos(int pos) {
    int maxPos = std::max(0, GetContentHeight() - rect_.Height());
    pos = std::clamp(pos, 0, maxPos);
    if (pos == scroll_) return;
    scroll_ = pos;
    NeedUpdate();
}

void List::EnsureVisible(int index) {
    if (!GetItemAt(index)) return;
    // A list not laid out yet (hidden, or in a window not shown yet) scrolls once it has a size.
    if (rect_.Height() <= 0) {
        pendingVisible_ = index;
        return;
    }
    pendingVisible_ = -1;
    const int pos = ScrollToShow(index);
    if (pos != scroll_) SetScrollPos(pos);
}

int List::ScrollToShow(int index) const {
    Control* item = GetItemAt(index);
    if (!item) return scroll_;
    int top = inset_.top;
    for (int i = 0; i < index; ++i) {
        Control* c = GetItemAt(i);
        if (!c->IsVisible()) continue;
        top += c->EstimateSize({rect_.Width(), 0}).cy + c->GetPadding().top + c->GetPadding().bottom +
               childPadding_;
    }
    int h = item->EstimateSize({rect_.Width(), 0}).cy;
    if (top < scroll_) return top;
    if (top + h > scroll_ + rect_.Height()) return top + h - rect_.Height();
    return scroll_;
}

void List::SetPos(const Rect& rect) {
    Control::SetPos(rect);
    if (pendingVisible_ >= 0 && rect.Height() > 0) {
        scroll_ = ScrollToShow(pendingVisible_);
        pendingVisible_ = -1;
    }
    int maxPos = std::max(0, GetContentHeight() - rect.Height());
    scroll_ = std::clamp(scroll_, 0, maxPos);
    Rect client = rect.Deflate(inset_);
    int y = client.top - scroll_;
    for (auto& item : items_) {
        Control* c = item.get();
        if (!c->IsVisible()) continue;
        const Rect& p = c->GetPadding();
        int h = c->EstimateSize({client.Width(), 0}).cy;
        Rect rc{client.left + p.left, y + p.top, client.right - p.right, y + p.top + h};
        c->SetPos(rc);
        y = rc.bottom + p.bottom + childPadding_;
    }
}

AttrResult List::SetAttribute(std::string_view name, std::string_view value) {
    AttrResult r = style_.SetAttribute(name, value);
    if (r != AttrResult::Unknown) return r;
    std::string n = ToLower(name);
    if (n == "header" || n == "vscrollbar" || n == "hscrollbar") return AttrResult::Ok;
    if (n == "scrollthumbcolor") {
        auto c = ParseColor(value);
        if (!c) return AttrResult::BadValue;
        scrollThumbColor_ = *c;
        return AttrResult::Ok;
    }
    return Container::SetAttribute(name, value);
}

void List::DoEvent(UiEvent& event) {
    switch (event.type) {
        case EventType::Wheel: {
            int before = scroll_;
            SetScrollPos(scroll_ - event.wheelDelta / 120 * style_.height * 3);
            event.handled = before != scroll_ || true;
            return;
        }
        case EventType::KeyDown: {
            int next = current_;
            if (event.key == kVkUp)
                next = std::max(0, current_ - 1);
            else if (event.key == kVkDown)
                next = std::min(GetCount() - 1, current_ + 1);
            else if (event.key == kVkHome)
                next = 0;
            else if (event.key == kVkEnd)
                next = GetCount() - 1;
            else
                return;
            if (next != current_ && next >= 0) SelectItem(next, Notify::Yes);
            event.handled = true;
            return;
        }
        case EventType::RButtonUp:
            OnContextMenu(event.pt);
            return;
        default:
            Container::DoEvent(event);
    }
}

void List::DoPaint(Canvas& canvas, const Rect& dirty) {
    Container::DoPaint(canvas, dirty);
    int content = GetContentHeight();
    if (content > rect_.Height() && rect_.Height() > 0) {
        int trackH = rect_.Height() - 4;
        int thumbH = std::max(24, trackH * rect_.Height() / content);
        int maxPos = content - rect_.Height();
        int thumbTop = rect_.top + 2 + (trackH - thumbH) * scroll_ / std::max(1, maxPos);
        canvas.FillRect({rect_.right - 6, thumbTop, rect_.right - 2, thumbTop + thumbH}, scrollThumbColor_,
                        2);
    }
}

}  // namespace ui
