#include "ui/controls/ToolTipWindow.h"

#include <cairo.h>

#include <algorithm>

#include "ui/controls/Label.h"
#include "ui/core/Toolkit.h"
#include "ui/render/CairoCanvas.h"

namespace ui {
namespace {

// The skin style guide's panel, border and text colours, for skins that do not style tooltips.
constexpr const char* kFallbackStyle =
    "bkcolor=\"#FF1F232B\" bordercolor=\"#FF343A46\" bordersize=\"1\" "
    "textcolor=\"#FFE8EAED\" textpadding=\"10,6,10,6\"";

// Pixels between the pointer and the tooltip's top edge: below the pointer's own picture.
constexpr int kBelowPointer = 20;

}  // namespace

ToolTipWindow::ToolTipWindow(WindowImplBase& owner, std::string text, Point at)
    : owner_(owner), text_(std::move(text)), at_(at) {}

std::unique_ptr<Control> ToolTipWindow::CreateRootInCode() {
    auto label = std::make_unique<Text>();
    label->SetName("tooltip_text");
    std::string style = owner_.GetManager().GetDefaultAttributeList("ToolTip");
    label->ApplyAttributeList(style.empty() ? kFallbackStyle : style);
    // The owner's fonts follow the language; the tip takes the one its style names.
    GetManager().SetDefaultFont(owner_.GetManager().GetFont(label->GetFont()));
    label->SetFont(-1);
    label->SetText(text_);
    return label;
}

bool ToolTipWindow::Open() {
    WindowStyle style;
    style.tooltip = true;
    if (!Create(&owner_, kClassName, style, {0, 0, 1, 1})) return false;
    Control* root = GetManager().GetRoot();
    // Measured as the canvas will draw it, wrapped at the widest a tip may be.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    Size text;
    {
        CairoCanvas canvas(cr);
        const Rect& pad = root->GetTextPadding();
        text = canvas.MeasureText(text_, GetManager().GetDefaultFont(), kMaxWidth - pad.left - pad.right);
        text.cx += pad.left + pad.right + 2;
        text.cy += pad.top + pad.bottom + 2;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    // Kept on the work area: a tip near the right or bottom edge opens towards the pointer.
    const Rect work = Toolkit::GetBackend().WorkArea();
    int x = std::clamp(at_.x, work.left, std::max(work.left, work.right - text.cx));
    int y = at_.y + kBelowPointer;
    if (y + text.cy > work.bottom) y = std::max(work.top, at_.y - text.cy - 4);
    SetWindowRect({x, y, x + text.cx, y + text.cy});
    ShowWindow(true, false);
    return true;
}

}  // namespace ui
