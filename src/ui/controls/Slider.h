#pragma once
// Progress shows a value between min and max; Slider lets the user drag or key it. While the value
// moves, every new value raises "valuechanging"; releasing the thumb (or the key) raises
// "valuechanged".
#include "ui/core/Control.h"

namespace ui {

class Progress : public Control {
  public:
    std::string_view GetClass() const override { return "Progress"; }
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }
    int GetValue() const { return value_; }
    void SetRange(int min, int max);
    virtual void SetValue(int value, Notify notify = Notify::No);
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;

  protected:
    void PaintBkImage(Canvas& canvas) override;
    void PaintStatusImage(Canvas& canvas) override;
    // Track band and the x of the current value.
    Rect TrackRect() const;
    virtual int Inset() const { return 0; }
    int ValueToX(int value) const;
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    int trackHeight_ = 0;  // 0: the whole height
    Color trackColor_ = 0;
    Color fillColor_ = 0;
};

class Slider : public Progress {
  public:
    std::string_view GetClass() const override { return "Slider"; }
    bool WantsFocus() const override { return true; }
    bool IsInteractive() const override { return true; }
    int GetStep() const { return step_; }
    void SetValue(int value, Notify notify = Notify::No) override;
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(UiEvent& event) override;
    // Thumb rectangle for the current value.
    Rect ThumbRect() const;
    // Pointer x that selects `value`.
    int XForValue(int value) const { return ValueToX(value); }
    bool IsDragging() const { return dragging_; }

  protected:
    void PaintStatusImage(Canvas& canvas) override;
    int Inset() const override { return thumbSize_.cx / 2; }

  private:
    int ValueAt(int x) const;
    void MoveTo(int value);
    int step_ = 1;
    Size thumbSize_{16, 16};
    bool dragging_ = false;
    bool keyMoved_ = false;
    std::string thumbImage_, thumbHotImage_, thumbPushedImage_, thumbDisabledImage_;
};

}  // namespace ui
