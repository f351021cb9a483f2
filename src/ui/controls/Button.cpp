#include "ui/controls/Button.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/core/VirtualKeys.h"

namespace ui {

Button::Button() {
    align_ = kAlignCenter | kAlignVCenter | kAlignSingleLine;
}

AttrResult Button::SetAttribute(std::string_view name, std::string_view value) {
    if (AttrResult r = SetStateImageAttribute(name, value); r != AttrResult::Unknown) return r;
    if (EqualsNoCase(name, "hovernotify")) {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        hoverNotify_ = *b;
        return AttrResult::Ok;
    }
    if (EqualsNoCase(name, "pendingimage")) {
        pendingImage_ = std::string(value);
        return AttrResult::Ok;
    }
    if (EqualsNoCase(name, "pendingbkcolor") || EqualsNoCase(name, "pendingtextcolor")) {
        auto c = ParseColor(value);
        if (!c) return AttrResult::BadValue;
        (EqualsNoCase(name, "pendingbkcolor") ? pendingBkColor_ : pendingTextColor_) = *c;
        return AttrResult::Ok;
    }
    return Label::SetAttribute(name, value);
}

void Button::DoEvent(UiEvent& event) {
    switch (event.type) {
        case EventType::MouseEnter:
            SetHot(true);
            if (hoverNotify_ && IsEffectivelyEnabled()) {
                SendNotify("mouseenter");
                SendNotify("Button_Mouse_Focus");
            }
            return;
        case EventType::MouseLeave:
            SetHot(false);
            if (hoverNotify_ && IsEffectivelyEnabled()) {
                SendNotify("mouseleave");
                SendNotify("Button_Mouse_Lose_Focus");
            }
            return;
        case EventType::ButtonDown:
        case EventType::DblClick:
            SetPushed(true);
            return;
        case EventType::MouseMove:
            if (manager_ && manager_->GetCapture() == this) SetPushed(rect_.Contains(event.pt));
            return;
        case EventType::ButtonUp: {
            bool wasPushed = pushed_;
            SetPushed(false);
            if (wasPushed && rect_.Contains(event.pt)) Activate();
            return;
        }
        case EventType::KeyDown:
            if (event.key == kVkSpace || event.key == kVkReturn) {
                Activate();
                event.handled = true;
            }
            return;
        default:
            Label::DoEvent(event);
    }
}

bool Button::Activate() {
    if (!Control::Activate()) return false;
    SendNotify("click");
    return true;
}

void Button::SetPending(bool pending) {
    if (pending_ == pending) return;
    pending_ = pending;
    Invalidate();
}

bool Button::ShowsPending() const {
    return pending_ && !pushed_ && IsEffectivelyEnabled();
}

void Button::PaintBkColor(Canvas& canvas) {
    if (ShowsPending() && (pendingBkColor_ >> 24)) {
        canvas.FillRect(rect_, pendingBkColor_, borderRound_);
        return;
    }
    Label::PaintBkColor(canvas);
}

Color Button::CurrentTextColor() const {
    if (ShowsPending() && (pendingTextColor_ >> 24)) return pendingTextColor_;
    return Label::CurrentTextColor();
}

void Button::PaintStatusImage(Canvas& canvas) {
    if (!ShowsPending() || !DrawImage(canvas, pendingImage_)) PaintStateImage(canvas);
    if (!GetImage(ImageSlot::Fore).empty()) DrawImage(canvas, GetImage(ImageSlot::Fore));
}

}  // namespace ui
