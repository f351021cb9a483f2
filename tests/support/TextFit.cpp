#include "TextFit.h"

#include <cairo.h>

#include "ui/controls/Combo.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "ui/core/Container.h"
#include "ui/render/CairoCanvas.h"
#include "ui/render/MarkupPainter.h"
#include "ui/text/TextTable.h"

namespace oaktest {
namespace {

// The text rectangle the control draws in; controls expose their padding only through layout, so
// the skin's usual paddings are assumed where they cannot be read.
void Check(ui::Control& c, ui::PaintManager& m, ui::Canvas& canvas, std::vector<std::string>& out) {
    if (!c.IsShown()) return;
    auto* container = dynamic_cast<ui::Container*>(&c);
    if (auto* combo = dynamic_cast<ui::Combo*>(&c)) {
        // Every item must fit the closed combo, where the chosen one is shown.
        ui::FontSpec font = m.GetFont(combo->GetFont());
        int room = combo->GetPos().Width() - 10 - 32;
        for (int i = 0; i < combo->GetCount(); ++i) {
            std::string text = combo->GetItemAt(i)->GetResolvedText();
            int width = combo->GetItemStyle().showHtml ? ui::MeasureMarkupLine(canvas, text, font)
                                                       : canvas.MeasureText(text, font).cx;
            if (width > room)
                out.push_back("combo \"" + combo->GetName() + "\" item \"" + text + "\" is too wide");
        }
        return;
    }
    if (container) {
        for (int i = 0; i < container->GetCount(); ++i) Check(*container->GetItemAt(i), m, canvas, out);
        return;
    }
    if (dynamic_cast<ui::Edit*>(&c) || c.GetText().empty()) return;
    std::string text = c.GetResolvedText();
    ui::FontSpec font = m.GetFont(c.GetFont());
    ui::Rect r = c.GetPos();
    if (c.GetTextAlign() & ui::kAlignWordBreak) {
        ui::Size s = canvas.MeasureText(text, font, r.Width());
        if (s.cy > r.Height())
            out.push_back("\"" + text + "\" needs " + std::to_string(s.cy) + " px of height, has " +
                          std::to_string(r.Height()));
    } else {
        ui::Size s = canvas.MeasureText(text, font);
        if (s.cx > r.Width())
            out.push_back("\"" + text + "\" needs " + std::to_string(s.cx) + " px, " +
                          (c.GetName().empty() ? std::string("a control") : "\"" + c.GetName() + "\"") +
                          " has " + std::to_string(r.Width()));
    }
}

}  // namespace

std::vector<std::string> TextFitProblems(ui::WindowImplBase& window) {
    std::vector<std::string> out;
    auto& m = window.GetManager();
    m.LayoutIfNeeded();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    {
        ui::CairoCanvas canvas(cr);
        if (m.GetRoot()) Check(*m.GetRoot(), m, canvas, out);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return out;
}

}  // namespace oaktest
