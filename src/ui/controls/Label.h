#pragma once
// Static text. With showhtml the text may carry the "{x n}" and "{i file count index}" markup.
#include "ui/core/Control.h"

namespace ui {

class Label : public Control {
  public:
    Label();
    std::string_view GetClass() const override { return "Label"; }
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    Size EstimateSize(Size available) const override;

  protected:
    void PaintText(Canvas& canvas) override;
    // Draws `text` (resolved) in `rect` with markup when enabled.
    void DrawLabelText(Canvas& canvas, const std::string& text, const Rect& rect, int font, Color color,
                       unsigned align);
    bool autoCalcWidth_ = false;
};

// Multi-line static text.
class Text : public Label {
  public:
    Text();
    std::string_view GetClass() const override { return "Text"; }
};

}  // namespace ui
