#pragma once
// Drawing surface the controls paint on. One implementation (Cairo/Pango) serves real windows and
// the headless backend's off-screen snapshots.
#include <string>

#include "ui/core/Geometry.h"

namespace ui {

struct FontSpec {
    std::string face = "DejaVu Sans";
    int size = 12;  // pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool operator==(const FontSpec&) const = default;
};

// A parsed DuiLib image string: file='x.png' source='l,t,r,b' corner='l,t,r,b' fade='128' dest='...'.
struct ImageSpec {
    std::string file;
    Rect source;  // empty: the whole image
    Rect corner;  // nine-slice margins
    Rect dest;    // relative to the control; empty: the whole control
    int fade = 255;
    bool hole = false;
};

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void PushClip(const Rect& rect) = 0;
    virtual void PopClip() = 0;
    virtual void FillRect(const Rect& rect, Color color, int radius = 0) = 0;
    // Linear gradient through `from`, `middle` (when its alpha is non-zero) and `to`.
    virtual void FillGradient(const Rect& rect, Color from, Color middle, Color to, bool vertical) = 0;
    virtual void StrokeRect(const Rect& rect, Color color, int width, int radius = 0) = 0;
    virtual void DrawLine(Point from, Point to, Color color, int width) = 0;
    // Draws `spec` into `rect`; false when the image cannot be loaded.
    virtual bool DrawImage(const ImageSpec& spec, const Rect& rect) = 0;
    // Size of an image file, {0,0} when it cannot be loaded.
    virtual Size ImageSize(const std::string& file) = 0;
    virtual void DrawText(const std::string& text, const Rect& rect, const FontSpec& font, Color color,
                          unsigned align) = 0;
    virtual Size MeasureText(const std::string& text, const FontSpec& font, int maxWidth = -1) = 0;
};

}  // namespace ui
