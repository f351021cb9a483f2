#pragma once
// Canvas on a Cairo context with Pango text (shaping covers CJK and Thai).
#include <string>

#include "ui/render/Canvas.h"

typedef struct _cairo cairo_t;

namespace ui {

class CairoCanvas final : public Canvas {
  public:
    explicit CairoCanvas(cairo_t* cr);
    void PushClip(const Rect& rect) override;
    void PopClip() override;
    void FillRect(const Rect& rect, Color color, int radius) override;
    void FillGradient(const Rect& rect, Color from, Color middle, Color to, bool vertical) override;
    void StrokeRect(const Rect& rect, Color color, int width, int radius) override;
    void DrawLine(Point from, Point to, Color color, int width) override;
    bool DrawImage(const ImageSpec& spec, const Rect& rect) override;
    Size ImageSize(const std::string& file) override;
    void DrawText(const std::string& text, const Rect& rect, const FontSpec& font, Color color,
                  unsigned align) override;
    Size MeasureText(const std::string& text, const FontSpec& font, int maxWidth) override;

  private:
    void SetColor(Color color);
    void RoundedPath(double x, double y, double w, double h, double r);
    cairo_t* cr_;
};

}  // namespace ui
