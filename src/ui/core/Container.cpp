#include "ui/core/Container.h"

#include <algorithm>

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"

namespace ui {

Control* Container::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

int Container::GetItemIndex(const Control* control) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == control) return static_cast<int>(i);
    return -1;
}

Control* Container::Add(std::unique_ptr<Control> control) {
    return AddAt(std::move(control), GetCount());
}

Control* Container::AddAt(std::unique_ptr<Control> control, int index) {
    if (!control) return nullptr;
    index = std::clamp(index, 0, GetCount());
    Control* raw = control.get();
    items_.insert(items_.begin() + index, std::move(control));
    raw->SetManager(manager_, this);
    NeedUpdate();
    return raw;
}

std::unique_ptr<Control> Container::Release(Control* control) {
    int index = GetItemIndex(control);
    if (index < 0) return nullptr;
    auto owned = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    owned->SetManager(nullptr, nullptr);
    NeedUpdate();
    return owned;
}

bool Container::Remove(Control* control) {
    PaintManager* manager = manager_;
    auto owned = Release(control);
    if (!owned) return false;
    if (manager) manager->DeferDelete(std::move(owned));
    return true;
}

bool Container::RemoveAt(int index) {
    return Remove(GetItemAt(index));
}

void Container::RemoveAll() {
    while (!items_.empty()) Remove(items_.back().get());
}

void Container::SetInset(const Rect& inset) {
    inset_ = inset;
    NeedUpdate();
}

void Container::SetChildPadding(int padding) {
    childPadding_ = padding;
    NeedUpdate();
}

void Container::SetManager(PaintManager* manager, Container* parent) {
    Control::SetManager(manager, parent);
    for (auto& item : items_) item->SetManager(manager, this);
}

int Container::ClampWidth(const Control* c, int cx) {
    return std::clamp(cx, c->GetMinWidth(), std::max(c->GetMinWidth(), c->GetMaxWidth()));
}

int Container::ClampHeight(const Control* c, int cy) {
    return std::clamp(cy, c->GetMinHeight(), std::max(c->GetMinHeight(), c->GetMaxHeight()));
}

void Container::PlaceFloating(Control* child) {
    Rect p = child->GetFloatPos();
    int cx = p.right > p.left ? p.right - p.left : child->GetFixedWidth();
    int cy = p.bottom > p.top ? p.bottom - p.top : child->GetFixedHeight();
    Rect rc{rect_.left + p.left, rect_.top + p.top, rect_.left + p.left + cx, rect_.top + p.top + cy};
    child->SetPos(rc);
}

void Container::SetPos(const Rect& rect) {
    Control::SetPos(rect);
    Rect client = rect.Deflate(inset_);
    for (auto& item : items_) {
        Control* c = item.get();
        if (!c->IsVisible()) continue;
        if (c->IsFloat()) {
            PlaceFloating(c);
            continue;
        }
        Rect rc = client.Deflate(c->GetPadding());
        Size sz = c->EstimateSize({rc.Width(), rc.Height()});
        if (sz.cx > 0) rc.right = rc.left + ClampWidth(c, sz.cx);
        if (sz.cy > 0) rc.bottom = rc.top + ClampHeight(c, sz.cy);
        c->SetPos(rc);
    }
}

AttrResult Container::SetAttribute(std::string_view name, std::string_view value) {
    std::string n = ToLower(name);
    if (n == "inset") {
        auto r = ParseRect(value);
        if (!r) return AttrResult::BadValue;
        inset_ = *r;
        return AttrResult::Ok;
    }
    if (n == "childpadding") {
        auto v = ParseInt(value);
        if (!v) return AttrResult::BadValue;
        childPadding_ = *v;
        return AttrResult::Ok;
    }
    return Control::SetAttribute(name, value);
}

Control* Container::FindControlAt(Point pt) {
    if (!visible_ || !rect_.Contains(pt)) return nullptr;
    if (HitTestChildren()) {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            if (Control* hit = (*it)->FindControlAt(pt)) return hit;
        }
    }
    return mouseEnabled_ ? this : nullptr;
}

void Container::DoPaint(Canvas& canvas, const Rect& dirty) {
    Control::DoPaint(canvas, dirty);
    if (!PaintChildren()) return;
    for (auto& item : items_) {
        if (!item->IsVisible()) continue;
        if (item->GetPos().Intersect(dirty).IsEmpty()) continue;
        item->Paint(canvas, dirty);
    }
}

}  // namespace ui
