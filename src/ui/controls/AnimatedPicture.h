#pragma once
// Plays an image strip of equal frames ("GifAnim" in skins): framecount frames, interval ms each.
#include "ui/core/Control.h"

namespace ui {

class AnimatedPicture : public Control {
  public:
    std::string_view GetClass() const override { return "GifAnim"; }
    void Start();
    void Stop();
    bool IsPlaying() const { return playing_; }
    int GetFrame() const { return frame_; }
    int GetFrameCount() const { return frameCount_; }
    void SetVisible(bool visible) override;
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoInit() override;
    void DoEvent(UiEvent& event) override;

  protected:
    void PaintBkImage(Canvas& canvas) override;

  private:
    int frameCount_ = 1;
    int interval_ = 80;
    int frame_ = 0;
    bool autoPlay_ = true;
    bool playing_ = false;
};

}  // namespace ui
