#pragma once
// Draws one line of row markup ("{x n}", "{i file count index}", text) left to right.
#include <string>

#include "ui/render/Canvas.h"

namespace ui {

// `align` contributes only its vertical part; the line always starts at the left.
// The width DrawMarkupLine takes for `text`.
int MeasureMarkupLine(Canvas& canvas, const std::string& text, const FontSpec& font);

void DrawMarkupLine(Canvas& canvas, const std::string& text, const Rect& rect, const FontSpec& font,
                    Color color, unsigned align);

}  // namespace ui
