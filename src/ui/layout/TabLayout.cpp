#include "ui/layout/TabLayout.h"

#include "ui/builder/AttributeParsers.h"

namespace ui {

bool TabLayout::SelectItem(int index, Notify notify) {
    if (index < 0 || index >= GetCount()) return false;
    int old = current_;
    current_ = index;
    ApplyVisibility();
    NeedUpdate();
    if (notify == Notify::Yes) SendNotify("tabselect", current_, old);
    return true;
}

void TabLayout::ApplyVisibility() {
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == current_);
}

void TabLayout::DoInit() {
    ApplyVisibility();
}

void TabLayout::SetPos(const Rect& rect) {
    // Keep the children's visibility true to the selection even after items were added.
    for (int i = 0; i < GetCount(); ++i)
        if (GetItemAt(i)->IsVisible() != (i == current_)) GetItemAt(i)->SetVisible(i == current_);
    Container::SetPos(rect);
}

AttrResult TabLayout::SetAttribute(std::string_view name, std::string_view value) {
    if (EqualsNoCase(name, "selectedid")) {
        auto v = ParseInt(value);
        if (!v) return AttrResult::BadValue;
        current_ = *v;
        return AttrResult::Ok;
    }
    return Container::SetAttribute(name, value);
}

}  // namespace ui
