#include "ui/controls/Option.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"

namespace ui {

void Option::DoInit() {
    // A skin may mark several options of a group selected; the last one wins, quietly.
    if (selected_ && manager_ && !group_.empty()) {
        for (Option* other : manager_->GetOptionGroup(group_))
            if (other != this) other->selected_ = false;
    }
}

void Option::SetSelected(bool selected, Notify notify) {
    if (selected_ == selected) return;
    selected_ = selected;
    Invalidate();
    if (!manager_) return;
    if (!group_.empty()) {
        if (!selected_) return;
        for (Option* other : manager_->GetOptionGroup(group_))
            if (other != this) other->SetSelected(false, notify);
    }
    if (notify == Notify::Yes) SendNotify("selectchanged");
}

bool Option::Activate() {
    if (!Button::Activate()) return false;
    if (!group_.empty())
        SetSelected(true, Notify::Yes);
    else
        SetSelected(!selected_, Notify::Yes);
    return true;
}

AttrResult Option::SetAttribute(std::string_view name, std::string_view value) {
    std::string n = ToLower(name);
    auto image = [&](ImageSlot slot) {
        images_[static_cast<size_t>(slot)] = std::string(value);
        return AttrResult::Ok;
    };
    if (n == "group") return group_ = std::string(value), AttrResult::Ok;
    if (n == "selected") {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        selected_ = *b;
        return AttrResult::Ok;
    }
    if (n == "selectedimage") return image(ImageSlot::Selected);
    if (n == "selectedhotimage") return image(ImageSlot::SelectedHot);
    if (n == "selectedpushedimage") return image(ImageSlot::SelectedPushed);
    if (n == "selecteddisabledimage") return image(ImageSlot::SelectedDisabled);
    if (n == "selectedtextcolor" || n == "selectedbkcolor") {
        auto c = ParseColor(value);
        if (!c) return AttrResult::BadValue;
        (n == "selectedtextcolor" ? selectedTextColor_ : selectedBkColor_) = *c;
        return AttrResult::Ok;
    }
    return Button::SetAttribute(name, value);
}

void Option::PaintBkColor(Canvas& canvas) {
    if (selected_ && (selectedBkColor_ >> 24))
        canvas.FillRect(rect_, selectedBkColor_, borderRound_);
    else
        Button::PaintBkColor(canvas);
}

void Option::PaintStatusImage(Canvas& canvas) {
    if (!selected_) {
        Button::PaintStatusImage(canvas);
        return;
    }
    ImageSlot slot = ImageSlot::Selected;
    if (!IsEffectivelyEnabled())
        slot = ImageSlot::SelectedDisabled;
    else if (pushed_)
        slot = ImageSlot::SelectedPushed;
    else if (hot_)
        slot = ImageSlot::SelectedHot;
    if (GetImage(slot).empty() || !DrawImage(canvas, GetImage(slot))) {
        if (GetImage(ImageSlot::Selected).empty() || !DrawImage(canvas, GetImage(ImageSlot::Selected)))
            Button::PaintStatusImage(canvas);
    }
    if (!GetImage(ImageSlot::Fore).empty()) DrawImage(canvas, GetImage(ImageSlot::Fore));
}

void Option::PaintText(Canvas& canvas) {
    if (text_.empty() || !manager_) return;
    Color color = CurrentTextColor();
    if (selected_ && IsEffectivelyEnabled() && (selectedTextColor_ >> 24)) color = selectedTextColor_;
    DrawLabelText(canvas, GetResolvedText(), rect_.Deflate(textPadding_), font_, color, align_);
}

}  // namespace ui
