#include "ui/controls/AnimatedPicture.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"
#include "ui/render/ImageString.h"

namespace ui {

namespace {
constexpr uintptr_t kFrameTimer = 1;
}

void AnimatedPicture::DoInit() {
    if (autoPlay_ && visible_) Start();
}

void AnimatedPicture::Start() {
    if (playing_ || !manager_) return;
    playing_ = true;
    manager_->SetTimer(this, kFrameTimer, static_cast<uint32_t>(interval_));
}

void AnimatedPicture::Stop() {
    if (!playing_) return;
    playing_ = false;
    if (manager_) manager_->KillTimer(this, kFrameTimer);
}

void AnimatedPicture::SetVisible(bool visible) {
    Control::SetVisible(visible);
    if (!visible)
        Stop();
    else if (autoPlay_)
        Start();
}

void AnimatedPicture::DoEvent(UiEvent& event) {
    if (event.type == EventType::Timer && event.timerId == kFrameTimer) {
        frame_ = (frame_ + 1) % std::max(1, frameCount_);
        Invalidate();
        return;
    }
    Control::DoEvent(event);
}

AttrResult AnimatedPicture::SetAttribute(std::string_view name, std::string_view value) {
    std::string n = ToLower(name);
    if (n == "framecount" || n == "interval") {
        auto v = ParseInt(value);
        if (!v || *v <= 0) return AttrResult::BadValue;
        (n == "framecount" ? frameCount_ : interval_) = *v;
        return AttrResult::Ok;
    }
    if (n == "autoplay") {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        autoPlay_ = *b;
        return AttrResult::Ok;
    }
    if (n == "autosize") return ParseBool(value) ? AttrResult::Ok : AttrResult::BadValue;
    return Control::SetAttribute(name, value);
}

void AnimatedPicture::PaintBkImage(Canvas& canvas) {
    if (GetBkImage().empty()) return;
    ImageSpec spec = ParseImageString(GetBkImage());
    Size size = canvas.ImageSize(spec.file);
    if (size.cx <= 0) return;
    int frameWidth = size.cx / std::max(1, frameCount_);
    spec.source = {frameWidth * frame_, 0, frameWidth * (frame_ + 1), size.cy};
    // Centre the frame at its own size.
    int x = rect_.left + (rect_.Width() - frameWidth) / 2;
    int y = rect_.top + (rect_.Height() - size.cy) / 2;
    canvas.DrawImage(spec, {x, y, x + frameWidth, y + size.cy});
}

}  // namespace ui
