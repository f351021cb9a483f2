#include "ui/controls/Slider.h"

#include <algorithm>
#include <cmath>

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/core/VirtualKeys.h"
#include "ui/render/Canvas.h"
#include "ui/render/ImageString.h"

namespace ui {

void Progress::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    value_ = std::clamp(value_, min_, max_);
    Invalidate();
}

void Progress::SetValue(int value, Notify notify) {
    value_ = std::clamp(value, min_, max_);
    Invalidate();
    if (notify == Notify::Yes) SendNotify("valuechanged", value_);
}

AttrResult Progress::SetAttribute(std::string_view name, std::string_view value) {
    std::string n = ToLower(name);
    auto integer = [&](int& target) {
        auto v = ParseInt(value);
        if (!v) return AttrResult::BadValue;
        target = *v;
        return AttrResult::Ok;
    };
    auto color = [&](Color& target) {
        auto v = ParseColor(value);
        if (!v) return AttrResult::BadValue;
        target = *v;
        return AttrResult::Ok;
    };
    if (n == "min") return integer(min_);
    if (n == "max") return integer(max_);
    if (n == "value") return integer(value_);
    if (n == "trackheight") return integer(trackHeight_);
    if (n == "trackcolor") return color(trackColor_);
    if (n == "fillcolor") return color(fillColor_);
    if (n == "hor") return ParseBool(value) ? AttrResult::Ok : AttrResult::BadValue;  // horizontal only
    return Control::SetAttribute(name, value);
}

Rect Progress::TrackRect() const {
    int inset = Inset();
    Rect r{rect_.left + inset, rect_.top, rect_.right - inset, rect_.bottom};
    if (trackHeight_ > 0 && trackHeight_ < rect_.Height()) {
        r.top = rect_.top + (rect_.Height() - trackHeight_) / 2;
        r.bottom = r.top + trackHeight_;
    }
    return r;
}

int Progress::ValueToX(int value) const {
    Rect t = TrackRect();
    if (max_ <= min_) return t.left;
    return t.left + static_cast<int>(std::lround(double(value - min_) * t.Width() / (max_ - min_)));
}

void Progress::PaintBkImage(Canvas& canvas) {
    if (GetBkImage().empty()) return;
    Rect track = TrackRect();
    Rect band{rect_.left, track.top, rect_.right, track.bottom};
    DrawImage(canvas, GetBkImage(), &band);
}

void Progress::PaintStatusImage(Canvas& canvas) {
    Rect track = TrackRect();
    Rect fill{track.left, track.top, ValueToX(value_), track.bottom};
    Rect full{rect_.left, track.top, rect_.right, track.bottom};
    int radius = track.Height() / 2;
    if (GetImage(ImageSlot::Bk).empty() && (trackColor_ >> 24)) {
        canvas.FillRect(full, trackColor_, radius);
    }
    Rect fillFull{rect_.left, fill.top, fill.right, fill.bottom};
    if (fillFull.Width() <= 0) return;
    const bool enabled = IsEffectivelyEnabled();
    if (!GetImage(ImageSlot::Fore).empty()) {
        ImageSpec spec = ParseImageString(GetImage(ImageSlot::Fore));
        // A disabled bar keeps its length but loses its colour's strength.
        if (!enabled) spec.fade = std::min(spec.fade, 70);
        canvas.DrawImage(spec, fillFull);
    } else if (fillColor_ >> 24) {
        canvas.FillRect(fillFull, enabled ? fillColor_ : ((fillColor_ & 0x00FFFFFFu) | 0x46000000u), radius);
    }
}

void Slider::SetValue(int value, Notify notify) {
    value = std::clamp(value, min_, max_);
    value_ = value;
    Invalidate();
    if (notify == Notify::Yes) SendNotify("valuechanged", value_);
}

AttrResult Slider::SetAttribute(std::string_view name, std::string_view value) {
    std::string n = ToLower(name);
    if (n == "step" || n == "changestep") {
        auto v = ParseInt(value);
        if (!v || *v <= 0) return AttrResult::BadValue;
        step_ = *v;
        return AttrResult::Ok;
    }
    if (n == "thumbsize") {
        auto s = ParseSize(value);
        if (!s) return AttrResult::BadValue;
        thumbSize_ = *s;
        return AttrResult::Ok;
    }
    if (n == "thumbimage") return thumbImage_ = std::string(value), AttrResult::Ok;
    if (n == "thumbhotimage") return thumbHotImage_ = std::string(value), AttrResult::Ok;
    if (n == "thumbpushedimage") return thumbPushedImage_ = std::string(value), AttrResult::Ok;
    if (n == "thumbdisabledimage") return thumbDisabledImage_ = std::string(value), AttrResult::Ok;
    if (n == "sendmove") return ParseBool(value) ? AttrResult::Ok : AttrResult::BadValue;  // always on
    return Progress::SetAttribute(name, value);
}

Rect Slider::ThumbRect() const {
    int x = ValueToX(value_);
    int cy = rect_.top + rect_.Height() / 2;
    return {x - thumbSize_.cx / 2, cy - thumbSize_.cy / 2, x - thumbSize_.cx / 2 + thumbSize_.cx,
            cy - thumbSize_.cy / 2 + thumbSize_.cy};
}

int Slider::ValueAt(int x) const {
    Rect t = TrackRect();
    if (t.Width() <= 0 || max_ <= min_) return min_;
    double f = std::clamp(double(x - t.left) / t.Width(), 0.0, 1.0);
    int raw = min_ + static_cast<int>(std::lround(f * (max_ - min_)));
    int stepped = min_ + static_cast<int>(std::lround(double(raw - min_) / step_)) * step_;
    return std::clamp(stepped, min_, max_);
}

void Slider::MoveTo(int value) {
    value = std::clamp(value, min_, max_);
    if (value == value_) return;
    value_ = value;
    Invalidate();
    SendNotify("valuechanging", value_);
}

void Slider::DoEvent(UiEvent& event) {
    switch (event.type) {
        case EventType::ButtonDown:
        case EventType::DblClick:
            dragging_ = true;
            SetPushed(true);
            MoveTo(ValueAt(event.pt.x));
            return;
        case EventType::MouseMove:
            if (dragging_) MoveTo(ValueAt(event.pt.x));
            return;
        case EventType::ButtonUp:
            if (!dragging_) return;
            dragging_ = false;
            SetPushed(false);
            SendNotify("valuechanged", value_);
            return;
        case EventType::KeyDown: {
            int next = value_;
            switch (event.key) {
                case kVkLeft:
                case kVkDown:
                    next -= step_;
                    break;
                case kVkRight:
                case kVkUp:
                    next += step_;
                    break;
                case kVkPrior:
                    next += step_ * 10;
                    break;
                case kVkNext:
                    next -= step_ * 10;
                    break;
                case kVkHome:
                    next = min_;
                    break;
                case kVkEnd:
                    next = max_;
                    break;
                default:
                    return;
            }
            keyMoved_ = true;
            MoveTo(next);
            event.handled = true;
            return;
        }
        case EventType::KeyUp:
            if (keyMoved_) {
                keyMoved_ = false;
                SendNotify("valuechanged", value_);
            }
            return;
        case EventType::KillFocus:
            if (keyMoved_) {
                keyMoved_ = false;
                SendNotify("valuechanged", value_);
            }
            return;
        default:
            Progress::DoEvent(event);
    }
}

void Slider::PaintStatusImage(Canvas& canvas) {
    Progress::PaintStatusImage(canvas);
    const std::string* image = &thumbImage_;
    if (!IsEffectivelyEnabled() && !thumbDisabledImage_.empty())
        image = &thumbDisabledImage_;
    else if ((pushed_ || dragging_) && !thumbPushedImage_.empty())
        image = &thumbPushedImage_;
    else if (hot_ && !thumbHotImage_.empty())
        image = &thumbHotImage_;
    Rect thumb = ThumbRect();
    if (image->empty() || !DrawImage(canvas, *image, &thumb))
        canvas.FillRect(thumb, IsEffectivelyEnabled() ? 0xFFE8EAEDu : 0xFF5A606Bu, thumb.Width() / 2);
}

}  // namespace ui
