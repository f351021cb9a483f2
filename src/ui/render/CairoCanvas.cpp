#include "ui/render/CairoCanvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "ui/core/Control.h"
#include "ui/core/Toolkit.h"
#include "ui/render/ImageCache.h"

namespace ui {

CairoCanvas::CairoCanvas(cairo_t* cr) : cr_(cr) {}

void CairoCanvas::SetColor(Color c) {
    cairo_set_source_rgba(cr_, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                          ((c >> 24) & 0xFF) / 255.0);
}

void CairoCanvas::RoundedPath(double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    if (r <= 0) {
        cairo_rectangle(cr_, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void CairoCanvas::PushClip(const Rect& rect) {
    cairo_save(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(cr_);
}

void CairoCanvas::PopClip() {
    cairo_restore(cr_);
}

void CairoCanvas::FillRect(const Rect& rect, Color color, int radius) {
    SetColor(color);
    RoundedPath(rect.left, rect.top, rect.Width(), rect.Height(), radius);
    cairo_fill(cr_);
}

void CairoCanvas::FillGradient(const Rect& rect, Color from, Color middle, Color to, bool vertical) {
    cairo_pattern_t* p = vertical ? cairo_pattern_create_linear(0, rect.top, 0, rect.bottom)
                                  : cairo_pattern_create_linear(rect.left, 0, rect.right, 0);
    auto stop = [p](double at, Color c) {
        cairo_pattern_add_color_stop_rgba(p, at, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                          (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
    };
    stop(0, from);
    if (middle >> 24) stop(0.5, middle);
    stop(1, to);
    cairo_set_source(cr_, p);
    cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(cr_);
    cairo_pattern_destroy(p);
}

void CairoCanvas::StrokeRect(const Rect& rect, Color color, int width, int radius) {
    SetColor(color);
    double half = width / 2.0;
    RoundedPath(rect.left + half, rect.top + half, rect.Width() - width, rect.Height() - width, radius);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void CairoCanvas::DrawLine(Point from, Point to, Color color, int width) {
    SetColor(color);
    cairo_set_line_width(cr_, width);
    double off = (width % 2) ? 0.5 : 0.0;
    cairo_move_to(cr_, from.x + off, from.y + off);
    cairo_line_to(cr_, to.x + off, to.y + off);
    cairo_stroke(cr_);
}

Size CairoCanvas::ImageSize(const std::string& file) {
    cairo_surface_t* s = ImageCache::Instance().Get(Toolkit::ResolvePath(file));
    if (!s) return {};
    return {cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
}

bool CairoCanvas::DrawImage(const ImageSpec& spec, const Rect& rect) {
    if (spec.file.empty() || rect.IsEmpty()) return false;
    cairo_surface_t* s = ImageCache::Instance().Get(Toolkit::ResolvePath(spec.file));
    if (!s) return false;
    Rect src = spec.source;
    int iw = cairo_image_surface_get_width(s), ih = cairo_image_surface_get_height(s);
    if (src.IsEmpty()) src = {0, 0, iw, ih};
    src = src.Intersect({0, 0, iw, ih});
    if (src.IsEmpty()) return false;
    Rect c = spec.corner;
    // Keep corners inside both the source and the target.
    c.left = std::clamp(c.left, 0, src.Width());
    c.right = std::clamp(c.right, 0, src.Width() - c.left);
    c.top = std::clamp(c.top, 0, src.Height());
    c.bottom = std::clamp(c.bottom, 0, src.Height() - c.top);
    double alpha = spec.fade / 255.0;

    auto blit = [&](Rect from, Rect to) {
        if (from.IsEmpty() || to.IsEmpty()) return;
        cairo_save(cr_);
        cairo_rectangle(cr_, to.left, to.top, to.Width(), to.Height());
        cairo_clip(cr_);
        cairo_translate(cr_, to.left, to.top);
        cairo_scale(cr_, double(to.Width()) / from.Width(), double(to.Height()) / from.Height());
        cairo_set_source_surface(cr_, s, -from.left, -from.top);
        cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
        cairo_paint_with_alpha(cr_, alpha);
        cairo_restore(cr_);
    };

    if (c == Rect{}) {
        blit(src, rect);
        return true;
    }
    int sx[4] = {src.left, src.left + c.left, src.right - c.right, src.right};
    int sy[4] = {src.top, src.top + c.top, src.bottom - c.bottom, src.bottom};
    int dl = std::min(c.left, rect.Width() / 2), dr = std::min(c.right, rect.Width() - dl);
    int dt = std::min(c.top, rect.Height() / 2), db = std::min(c.bottom, rect.Height() - dt);
    int dx[4] = {rect.left, rect.left + dl, rect.right - dr, rect.right};
    int dy[4] = {rect.top, rect.top + dt, rect.bottom - db, rect.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (spec.hole && row == 1 && col == 1) continue;
            blit({sx[col], sy[row], sx[col + 1], sy[row + 1]}, {dx[col], dy[row], dx[col + 1], dy[row + 1]});
        }
    }
    return true;
}

namespace {

PangoLayout* MakeLayout(cairo_t* cr, const std::string& text, const FontSpec& font) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, font.face.c_str());
    pango_font_description_set_absolute_size(desc, font.size * PANGO_SCALE);
    pango_font_description_set_weight(desc, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    if (font.underline) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    return layout;
}

}  // namespace

void CairoCanvas::DrawText(const std::string& text, const Rect& rect, const FontSpec& font, Color color,
                           unsigned align) {
    if (text.empty() || rect.IsEmpty()) return;
    PangoLayout* layout = MakeLayout(cr_, text, font);
    if (align & kAlignWordBreak) {
        pango_layout_set_width(layout, rect.Width() * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_width(layout, rect.Width() * PANGO_SCALE);
        pango_layout_set_ellipsize(layout,
                                   (align & kAlignEndEllipsis) ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE);
        pango_layout_set_single_paragraph_mode(layout, TRUE);
        if (!(align & kAlignEndEllipsis)) pango_layout_set_width(layout, -1);
    }
    pango_layout_set_alignment(layout, (align & kAlignRight)    ? PANGO_ALIGN_RIGHT
                                       : (align & kAlignCenter) ? PANGO_ALIGN_CENTER
                                                                : PANGO_ALIGN_LEFT);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    double x = rect.left;
    if (pango_layout_get_width(layout) < 0) {
        // Unwrapped single line: align by hand.
        if (align & kAlignRight)
            x = rect.right - w;
        else if (align & kAlignCenter)
            x = rect.left + (rect.Width() - w) / 2.0;
    }
    double y = rect.top;
    if (align & kAlignBottom)
        y = rect.bottom - h;
    else if (align & kAlignVCenter)
        y = rect.top + (rect.Height() - h) / 2.0;
    cairo_save(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(cr_);
    SetColor(color);
    cairo_move_to(cr_, std::round(x), std::round(y));
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    g_object_unref(layout);
}

Size CairoCanvas::MeasureText(const std::string& text, const FontSpec& font, int maxWidth) {
    PangoLayout* layout = MakeLayout(cr_, text, font);
    if (maxWidth > 0) {
        pango_layout_set_width(layout, maxWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    g_object_unref(layout);
    return {w, h};
}

}  // namespace ui
