#include "ui/render/MarkupPainter.h"

#include "ui/core/Control.h"
#include "ui/text/Markup.h"

namespace ui {

int MeasureMarkupLine(Canvas& canvas, const std::string& text, const FontSpec& font) {
    int width = 0;
    for (const auto& run : ParseMarkup(text)) {
        if (run.kind == MarkupRun::Kind::Space) width += run.amount;
        if (run.kind == MarkupRun::Kind::Text) width += canvas.MeasureText(run.text, font).cx;
        if (run.kind == MarkupRun::Kind::Image && run.amount > 0)
            width += canvas.ImageSize(run.text).cx / run.amount;
    }
    return width;
}

void DrawMarkupLine(Canvas& canvas, const std::string& text, const Rect& rect, const FontSpec& font,
                    Color color, unsigned align) {
    int x = rect.left;
    for (const auto& run : ParseMarkup(text)) {
        if (x >= rect.right) break;
        switch (run.kind) {
            case MarkupRun::Kind::Space:
                x += run.amount;
                break;
            case MarkupRun::Kind::Image: {
                Size img = canvas.ImageSize(run.text);
                if (img.cx <= 0) break;
                int frame = img.cx / run.amount;
                ImageSpec spec;
                spec.file = run.text;
                spec.source = {frame * run.index, 0, frame * (run.index + 1), img.cy};
                int top = rect.top + (rect.Height() - img.cy) / 2;
                canvas.DrawImage(spec, {x, top, x + frame, top + img.cy});
                x += frame;
                break;
            }
            case MarkupRun::Kind::Text: {
                Size size = canvas.MeasureText(run.text, font);
                canvas.DrawText(run.text, {x, rect.top, rect.right, rect.bottom}, font, color,
                                kAlignLeft | (align & (kAlignVCenter | kAlignBottom)) | kAlignSingleLine);
                x += size.cx;
                break;
            }
        }
    }
}

}  // namespace ui
