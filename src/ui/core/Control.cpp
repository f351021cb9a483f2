#include "ui/core/Control.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"
#include "ui/render/ImageString.h"
#include "ui/text/TextTable.h"

namespace ui {

Control::Control() = default;

Control::~Control() {
    if (manager_) manager_->ReleaseControl(this);
}

void Control::SetName(std::string name) {
    name_ = std::move(name);
}

bool Control::NameIs(std::string_view name) const {
    return EqualsNoCase(name_, name);
}

void Control::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    Invalidate();
}

std::string Control::GetResolvedText() const {
    return TextTable::Instance().Resolve(text_);
}

void Control::SetManager(PaintManager* manager, Container* parent) {
    bool entering = manager && manager != manager_;
    if (manager_ && manager != manager_) manager_->ReleaseControl(this);
    manager_ = manager;
    parent_ = parent;
    if (entering) DoInit();
}

bool Control::IsShown() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (!visible && manager_) {
        if (manager_->GetFocus() == this) manager_->SetFocus(nullptr);
        if (manager_->GetCapture() == this) manager_->ReleaseCapture();
    }
    NeedParentUpdate();
}

bool Control::IsEffectivelyEnabled() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!enabled) {
        hot_ = pushed_ = false;
        if (manager_ && manager_->GetFocus() == this) manager_->SetFocus(nullptr);
    }
    Invalidate();
}

void Control::SetFont(int index) {
    font_ = index;
    Invalidate();
}

void Control::SetTextColor(Color color) {
    textColor_ = color;
    Invalidate();
}

void Control::SetBkColor(Color color) {
    bkColor_ = color;
    Invalidate();
}

void Control::SetBkColor2(Color color) {
    bkColor2_ = color;
    Invalidate();
}

void Control::SetBkColor3(Color color) {
    bkColor3_ = color;
    Invalidate();
}

void Control::SetImage(ImageSlot slot, std::string image) {
    images_[static_cast<size_t>(slot)] = std::move(image);
    Invalidate();
}

void Control::SetPos(const Rect& rect) {
    rect_ = rect;
    Invalidate();
}

void Control::SetFloat(bool f) {
    float_ = f;
    NeedParentUpdate();
}

void Control::SetFloatPos(const Rect& pos) {
    floatPos_ = pos;
    NeedParentUpdate();
}

void Control::SetPadding(const Rect& padding) {
    padding_ = padding;
    NeedParentUpdate();
}

void Control::SetFixedWidth(int cx) {
    fixedWidth_ = std::max(0, cx);
    NeedParentUpdate();
}

void Control::SetFixedHeight(int cy) {
    fixedHeight_ = std::max(0, cy);
    NeedParentUpdate();
}

void Control::Invalidate() {
    if (manager_) manager_->Invalidate(rect_);
}

void Control::NeedUpdate() {
    if (manager_) manager_->NeedLayout();
}

void Control::NeedParentUpdate() {
    NeedUpdate();
}

void Control::SetHot(bool hot) {
    if (hot_ != hot) {
        hot_ = hot;
        Invalidate();
    }
}

void Control::SetPushed(bool pushed) {
    if (pushed_ != pushed) {
        pushed_ = pushed;
        Invalidate();
    }
}

void Control::SendNotify(std::string_view type, intptr_t wParam, intptr_t lParam, bool async) {
    if (!manager_) return;
    Notification n;
    n.type = std::string(type);
    n.sender = this;
    n.wParam = wParam;
    n.lParam = lParam;
    manager_->SendNotify(std::move(n), async, false);
}

void Control::DoEvent(UiEvent& event) {
    switch (event.type) {
        case EventType::MouseEnter:
            SetHot(true);
            break;
        case EventType::MouseLeave:
            SetHot(false);
            break;
        default:
            break;
    }
}

Control* Control::FindControlAt(Point pt) {
    if (!visible_ || !mouseEnabled_ || !rect_.Contains(pt)) return nullptr;
    return this;
}

bool Control::Activate() {
    return IsEffectivelyEnabled() && IsShown();
}

void Control::Paint(Canvas& canvas, const Rect& dirty) {
    if (!visible_) return;
    Rect clip = rect_.Intersect(dirty);
    if (clip.IsEmpty()) return;
    canvas.PushClip(clip);
    DoPaint(canvas, clip);
    if (focused_ && manager_ && manager_->FocusRingShown() && DrawsFocusRing()) PaintFocusRing(canvas);
    canvas.PopClip();
}

void Control::DoPaint(Canvas& canvas, const Rect& dirty) {
    PaintBkColor(canvas);
    PaintBkImage(canvas);
    PaintStatusImage(canvas);
    PaintText(canvas);
    PaintBorder(canvas);
}

void Control::PaintBkColor(Canvas& canvas) {
    if (bkColor2_ >> 24) {
        Color last = (bkColor3_ >> 24) ? bkColor3_ : bkColor2_;
        Color middle = (bkColor3_ >> 24) ? bkColor2_ : 0;
        canvas.FillGradient(rect_, bkColor_, middle, last, gradientVertical_);
        return;
    }
    Color c = (hot_ && hotBkColor_ && IsEffectivelyEnabled()) ? hotBkColor_ : bkColor_;
    if (c >> 24) canvas.FillRect(rect_, c, borderRound_);
}

void Control::PaintBkImage(Canvas& canvas) {
    if (!GetBkImage().empty()) DrawImage(canvas, GetBkImage());
}

void Control::PaintStatusImage(Canvas& canvas) {}

void Control::PaintText(Canvas& canvas) {}

void Control::PaintBorder(Canvas& canvas) {
    if (borderSize_ <= 0) return;
    Color c = (focused_ && focusBorderColor_) ? focusBorderColor_ : borderColor_;
    if (c >> 24) canvas.StrokeRect(rect_, c, borderSize_, borderRound_);
}

void Control::PaintFocusRing(Canvas& canvas) {
    constexpr int kRingWidth = 2;
    constexpr int kControlRadius = 6;  // the skin's control corners
    const Color color = manager_->GetFocusColor();
    if (!(color >> 24) || rect_.Width() <= 2 * kRingWidth || rect_.Height() <= 2 * kRingWidth) return;
    canvas.StrokeRect(rect_, color, kRingWidth, borderRound_ > 0 ? borderRound_ : kControlRadius);
}

bool Control::DrawImage(Canvas& canvas, const std::string& image, const Rect* dest) {
    if (image.empty()) return false;
    ImageSpec spec = ParseImageString(image);
    Rect target = dest ? *dest : rect_;
    if (!spec.dest.IsEmpty()) target = spec.dest.Offset(target.left, target.top);
    return canvas.DrawImage(spec, target);
}

AttrResult Control::SetStateImageAttribute(std::string_view name, std::string_view value) {
    static constexpr std::pair<std::string_view, ImageSlot> kSlots[] = {
        {"normalimage", ImageSlot::Normal},
        {"hotimage", ImageSlot::Hot},
        {"pushedimage", ImageSlot::Pushed},
        {"focusedimage", ImageSlot::Focused},
        {"disabledimage", ImageSlot::Disabled}};
    for (const auto& [attribute, slot] : kSlots) {
        if (EqualsNoCase(name, attribute)) {
            images_[static_cast<size_t>(slot)] = std::string(value);
            return AttrResult::Ok;
        }
    }
    return AttrResult::Unknown;
}

void Control::PaintStateImage(Canvas& canvas) {
    ImageSlot slot = ImageSlot::Normal;
    if (!IsEffectivelyEnabled())
        slot = ImageSlot::Disabled;
    else if (pushed_)
        slot = ImageSlot::Pushed;
    else if (hot_)
        slot = ImageSlot::Hot;
    else if (focused_)
        slot = ImageSlot::Focused;
    if (GetImage(slot).empty() || !DrawImage(canvas, GetImage(slot)))
        DrawImage(canvas, GetImage(ImageSlot::Normal));
}

Color Control::CurrentTextColor() const {
    if (!IsEffectivelyEnabled() && (disabledTextColor_ >> 24)) return disabledTextColor_;
    if (pushed_ && (pushedTextColor_ >> 24)) return pushedTextColor_;
    if (hot_ && (hotTextColor_ >> 24)) return hotTextColor_;
    return (textColor_ >> 24) ? textColor_ : 0xFF000000u;
}

void Control::ApplyAttributeList(std::string_view list) {
    if (auto attrs = ParseAttributeList(list))
        for (auto& [n, v] : *attrs) SetAttribute(n, v);
}

AttrResult Control::SetAttribute(std::string_view name, std::string_view value) {
    auto color = [&](Color& target) {
        auto c = ParseColor(value);
        if (!c) return AttrResult::BadValue;
        target = *c;
        return AttrResult::Ok;
    };
    auto integer = [&](int& target) {
        auto n = ParseInt(value);
        if (!n) return AttrResult::BadValue;
        target = *n;
        return AttrResult::Ok;
    };
    auto boolean = [&](bool& target) {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        target = *b;
        return AttrResult::Ok;
    };
    auto image = [&](ImageSlot slot) {
        images_[static_cast<size_t>(slot)] = std::string(value);
        return AttrResult::Ok;
    };
    std::string n = ToLower(name);
    if (n == "name") return name_ = std::string(value), AttrResult::Ok;
    if (n == "text") return text_ = std::string(value), AttrResult::Ok;
    if (n == "tooltip") return toolTip_ = std::string(value), AttrResult::Ok;
    if (n == "userdata") return userData_ = std::string(value), AttrResult::Ok;
    if (n == "tag") {
        auto t = ParseInt(value);
        if (!t) return AttrResult::BadValue;
        tag_ = *t;
        return AttrResult::Ok;
    }
    if (n == "pos") {
        auto r = ParseRect(value);
        if (!r) return AttrResult::BadValue;
        floatPos_ = *r;
        fixedWidth_ = std::max(0, r->right - r->left);
        fixedHeight_ = std::max(0, r->bottom - r->top);
        return AttrResult::Ok;
    }
    if (n == "padding") {
        auto r = ParseRect(value);
        if (!r) return AttrResult::BadValue;
        padding_ = *r;
        return AttrResult::Ok;
    }
    if (n == "textpadding") {
        auto r = ParseRect(value);
        if (!r) return AttrResult::BadValue;
        textPadding_ = *r;
        return AttrResult::Ok;
    }
    if (n == "float") return boolean(float_);
    if (n == "width") return integer(fixedWidth_);
    if (n == "height") return integer(fixedHeight_);
    if (n == "minwidth") return integer(minWidth_);
    if (n == "minheight") return integer(minHeight_);
    if (n == "maxwidth") return integer(maxWidth_);
    if (n == "maxheight") return integer(maxHeight_);
    if (n == "visible") return boolean(visible_);
    if (n == "enabled") return boolean(enabled_);
    if (n == "mouse") return boolean(mouseEnabled_);
    if (n == "keyboard") return boolean(keyboardEnabled_);
    if (n == "showhtml") return boolean(showHtml_);
    if (n == "font") return integer(font_);
    if (n == "bkcolor") return color(bkColor_);
    if (n == "hotbkcolor") return color(hotBkColor_);
    if (n == "bkcolor2") return color(bkColor2_);
    if (n == "bkcolor3") return color(bkColor3_);
    if (n == "gradientvertical") return boolean(gradientVertical_);
    if (n == "bordercolor") return color(borderColor_);
    if (n == "focusbordercolor") return color(focusBorderColor_);
    if (n == "textcolor") return color(textColor_);
    if (n == "disabledtextcolor") return color(disabledTextColor_);
    if (n == "hottextcolor") return color(hotTextColor_);
    if (n == "pushedtextcolor") return color(pushedTextColor_);
    if (n == "bordersize") return integer(borderSize_);
    if (n == "borderround") {
        // "rx,ry" in skins; one radius is enough for us.
        auto s = ParseSize(value);
        if (s) return borderRound_ = s->cx, AttrResult::Ok;
        return integer(borderRound_);
    }
    if (n == "align") {
        auto a = ParseAlign(value);
        if (!a) return AttrResult::BadValue;
        align_ = *a;
        return AttrResult::Ok;
    }
    if (n == "endellipsis") {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        align_ = *b ? (align_ | kAlignEndEllipsis) : (align_ & ~kAlignEndEllipsis);
        return AttrResult::Ok;
    }
    if (n == "multiline" || n == "wordbreak") {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        align_ = *b ? ((align_ | kAlignWordBreak) & ~kAlignSingleLine)
                    : ((align_ | kAlignSingleLine) & ~kAlignWordBreak);
        return AttrResult::Ok;
    }
    if (n == "bkimage") return image(ImageSlot::Bk);
    if (n == "foreimage") return image(ImageSlot::Fore);
    return AttrResult::Unknown;
}

}  // namespace ui
