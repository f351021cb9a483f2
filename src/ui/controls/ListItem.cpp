#include "ui/controls/ListItem.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"
#include "ui/render/ImageString.h"
#include "ui/render/MarkupPainter.h"

namespace ui {

AttrResult ItemStyle::SetAttribute(std::string_view name, std::string_view value) {
    std::string n = ToLower(name);
    auto color = [&](Color& c) {
        auto v = ParseColor(value);
        if (!v) return AttrResult::BadValue;
        c = *v;
        return AttrResult::Ok;
    };
    if (n == "itemfont") {
        auto v = ParseInt(value);
        if (!v) return AttrResult::BadValue;
        font = *v;
        return AttrResult::Ok;
    }
    if (n == "itemheight") {
        auto v = ParseInt(value);
        if (!v || *v <= 0) return AttrResult::BadValue;
        height = *v;
        return AttrResult::Ok;
    }
    if (n == "itemtextcolor") return color(textColor);
    if (n == "itemhottextcolor") return color(hotTextColor);
    if (n == "itemselectedtextcolor") return color(selectedTextColor);
    if (n == "itemdisabledtextcolor") return color(disabledTextColor);
    if (n == "itemhotbkcolor") return color(hotBkColor);
    if (n == "itemselectedbkcolor") return color(selectedBkColor);
    if (n == "itemhotimage") return hotImage = std::string(value), AttrResult::Ok;
    if (n == "itemselectedimage") return selectedImage = std::string(value), AttrResult::Ok;
    if (n == "itemtextpadding") {
        auto r = ParseRect(value);
        if (!r) return AttrResult::BadValue;
        textPadding = *r;
        return AttrResult::Ok;
    }
    if (n == "itemalign") {
        auto a = ParseAlign(value);
        if (!a) return AttrResult::BadValue;
        align = *a | kAlignEndEllipsis;
        return AttrResult::Ok;
    }
    if (n == "itemshowhtml") {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        showHtml = *b;
        return AttrResult::Ok;
    }
    return AttrResult::Unknown;
}

void PaintListRow(Canvas& canvas, PaintManager& manager, const ItemStyle& style, const Rect& rect,
                  const std::string& text, bool selected, bool hot, bool enabled, Color fallbackText) {
    auto image = [&](const std::string& s) {
        if (s.empty()) return false;
        ImageSpec spec = ParseImageString(s);
        return canvas.DrawImage(spec, rect);
    };
    if (selected) {
        if (!image(style.selectedImage) && (style.selectedBkColor >> 24))
            canvas.FillRect(rect, style.selectedBkColor);
    } else if (hot && enabled) {
        if (!image(style.hotImage) && (style.hotBkColor >> 24)) canvas.FillRect(rect, style.hotBkColor);
    }
    Color color = style.textColor ? style.textColor : fallbackText;
    if (!enabled && style.disabledTextColor)
        color = style.disabledTextColor;
    else if (selected && style.selectedTextColor)
        color = style.selectedTextColor;
    else if (hot && style.hotTextColor)
        color = style.hotTextColor;
    if (!(color >> 24)) color = 0xFF000000u;
    Rect textRect = rect.Deflate(style.textPadding);
    FontSpec font = manager.GetFont(style.font);
    if (!style.showHtml) {
        canvas.DrawText(text, textRect, font, color, style.align);
        return;
    }
    DrawMarkupLine(canvas, text, textRect, font, color, kAlignVCenter);
}

ListOwner* ListLabelElement::GetOwner() const {
    return dynamic_cast<ListOwner*>(parent_);
}

int ListLabelElement::GetIndex() const {
    return parent_ ? parent_->GetItemIndex(this) : -1;
}

bool ListLabelElement::IsSelected() const {
    auto* owner = GetOwner();
    return owner && owner->GetCurSel() == GetIndex();
}

Size ListLabelElement::EstimateSize(Size available) const {
    Size s = Control::EstimateSize(available);
    if (s.cy == 0)
        if (auto* owner = GetOwner()) s.cy = owner->GetItemStyle().height;
    return s;
}

void ListLabelElement::DoEvent(UiEvent& event) {
    ListOwner* owner = GetOwner();
    switch (event.type) {
        case EventType::ButtonDown:
        case EventType::DblClick:
            if (!IsEffectivelyEnabled()) return;
            SendNotify("itemclick");
            if (owner) owner->SelectItem(GetIndex(), Notify::Yes);
            return;
        case EventType::RButtonDown:
            if (owner && IsEffectivelyEnabled()) owner->SelectItem(GetIndex(), Notify::Yes);
            return;
        case EventType::RButtonUp:
            if (owner) owner->OnContextMenu(event.pt);
            return;
        case EventType::KeyDown:
        case EventType::Wheel:
            // Let the owner scroll and move the selection.
            if (parent_) parent_->DoEvent(event);
            return;
        default:
            Control::DoEvent(event);
    }
}

void ListLabelElement::DoPaint(Canvas& canvas, const Rect& dirty) {
    ListOwner* owner = GetOwner();
    if (!owner || !manager_) return Control::DoPaint(canvas, dirty);
    PaintListRow(canvas, *manager_, owner->GetItemStyle(), rect_, GetResolvedText(), IsSelected(), hot_,
                 IsEffectivelyEnabled(), textColor_);
}

}  // namespace ui
