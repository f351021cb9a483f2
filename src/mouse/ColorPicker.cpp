#include "mouse/ColorPicker.h"

#include <algorithm>
#include <cmath>

#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Slider.h"
#include "ui/core/Container.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace mouse {

namespace {

constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr const char* kField = "color_rainbow_control";
constexpr const char* kMarker = "color_location_control";

// Truncation as the conversion wants it, but a product such as 127.99999999 that stands for 128
// must not lose a step.
int ToByte(double unit) {
    return std::clamp(static_cast<int>(unit * 255.0 + 1e-6), 0, 255);
}

}  // namespace

ColorPicker::Hsl ColorPicker::ToHsl(uint32_t rgb) {
    double r = ((rgb >> 16) & 0xFF) / 255.0;
    double g = ((rgb >> 8) & 0xFF) / 255.0;
    double b = (rgb & 0xFF) / 255.0;
    double max = std::max({r, g, b});
    double min = std::min({r, g, b});
    Hsl hsl;
    hsl.lightness = (max + min) / 2;
    if (max == min) return hsl;  // grey: hue and saturation 0
    double delta = max - min;
    hsl.saturation = hsl.lightness <= 0.5 ? delta / (max + min) : delta / (2 - max - min);
    if (max == r)
        hsl.hue = 60 * ((g - b) / delta);
    else if (max == g)
        hsl.hue = 60 * ((b - r) / delta + 2);
    else
        hsl.hue = 60 * ((r - g) / delta + 4);
    if (hsl.hue < 0) hsl.hue += 360;
    return hsl;
}

uint32_t ColorPicker::ToRgb(const Hsl& hsl) {
    double l = hsl.lightness;
    double chroma = (1 - std::fabs(2 * l - 1)) * hsl.saturation;
    double sextant = std::fmod(hsl.hue, 360.0) / 60.0;
    if (sextant < 0) sextant += 6;
    double x = chroma * (1 - std::fabs(std::fmod(sextant, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(sextant)) {
        case 0:
            r = chroma, g = x;
            break;
        case 1:
            r = x, g = chroma;
            break;
        case 2:
            g = chroma, b = x;
            break;
        case 3:
            g = x, b = chroma;
            break;
        case 4:
            r = x, b = chroma;
            break;
        default:
            r = chroma, b = x;
            break;
    }
    double m = l - chroma / 2;
    return kOpaque | static_cast<uint32_t>(ToByte(r + m)) << 16 | static_cast<uint32_t>(ToByte(g + m)) << 8 |
           static_cast<uint32_t>(ToByte(b + m));
}

namespace {

ColorPicker::Chooser& Replacement() {
    static ColorPicker::Chooser chooser;
    return chooser;
}

}  // namespace

void ColorPicker::SetChooser(Chooser chooser) {
    Replacement() = std::move(chooser);
}

bool ColorPicker::Ask(ui::WindowImplBase& owner, uint32_t& argb) {
    if (Replacement()) return Replacement()(owner, argb);
    ColorPicker picker(&owner);
    return picker.Choose(argb);
}

ColorPicker::ColorPicker(ui::WindowImplBase* owner) : owner_(owner) {}

bool ColorPicker::Choose(uint32_t& colour) {
    startColour_ = colour;
    ui::WindowStyle style;
    style.toolWindow = true;
    if (!Create(owner_, ui::TextTable::Instance().Resolve("%{321}"), style, {})) return false;
    if (ShowModal() != kResultOk) return false;
    colour = (startColour_ & kOpaque) | rgb_;
    return true;
}

void ColorPicker::InitWindow() {
    if (auto* field = Find<ui::Control>(kField))
        field->SetEventFilter([this](ui::UiEvent& event) { return OnFieldEvent(event); });
    SizeToSkinAndCenter();
    // The marker is placed from the field's laid-out rectangle.
    GetManager().LayoutIfNeeded();
    rgb_ = startColour_ & 0xFFFFFFu;
    ShowRgb(true);
    PlaceMarker(ToHsl(rgb_));
    // OK takes the focus so Enter confirms.
    if (auto* ok = Find<ui::Button>("okbtn")) GetManager().SetFocus(ok);
}

void ColorPicker::Notify(ui::Notification& n) {
    if (!n.sender) return;
    if (n.type == "click") {
        if (n.sender->NameIs("okbtn"))
            Close(kResultOk);
        else if (n.sender->NameIs("cancelbtn") || n.sender->NameIs("closebtn"))
            Close(kResultCancel);
    } else if (n.type == "valuechanged" || n.type == "valuechanging") {
        // Following the thumb while it moves, not only on release, keeps the preview live.
        if (!n.sender->NameIs("color_lightness_slider")) return;
        auto* slider = dynamic_cast<ui::Slider*>(n.sender);
        if (!slider) return;
        hsl_.lightness = slider->GetValue() / 255.0;
        rgb_ = ToRgb(hsl_) & 0xFFFFFFu;
        ShowRgb(true);
    } else if (n.type == "textchanged") {
        if (n.sender->NameIs("r_edit"))
            OnBoxChanged(*n.sender, 16);
        else if (n.sender->NameIs("g_edit"))
            OnBoxChanged(*n.sender, 8);
        else if (n.sender->NameIs("b_edit"))
            OnBoxChanged(*n.sender, 0);
    }
}

intptr_t ColorPicker::HandleMessage(uint32_t message, intptr_t wParam, intptr_t, bool& handled) {
    handled = false;
    if (message == ui::kWmKeyDown && static_cast<uint32_t>(wParam) == ui::kVkEscape) {
        Close(kResultCancel);
        handled = true;
    }
    return 0;
}

bool ColorPicker::OnFieldEvent(ui::UiEvent& event) {
    auto* marker = Find<ui::Control>(kMarker);
    switch (event.type) {
        case ui::EventType::ButtonDown:
            if (marker) marker->SetVisible(false);
            dragging_ = true;
            PickAt(event.pt);
            return true;
        case ui::EventType::MouseMove:
            if (!dragging_) return false;
            PickAt(event.pt);
            return true;
        case ui::EventType::ButtonUp:
            if (!dragging_) return false;
            // The marker goes where the colour was picked: a release outside the field (or the
            // synthetic release when the window loses focus) must not leave it off the field.
            dragging_ = false;
            MoveMarkerTo(lastPick_.x, lastPick_.y);
            if (marker) marker->SetVisible(true);
            return true;
        default:
            return false;
    }
}

void ColorPicker::PickAt(ui::Point windowPt) {
    auto* field = Find<ui::Control>(kField);
    if (!field) return;
    const ui::Rect& f = field->GetPos();
    if (f.IsEmpty()) return;
    // Both edges count: the right edge is hue 360, the bottom edge saturation 0.
    ui::Point clamped{std::clamp(windowPt.x, f.left, f.right), std::clamp(windowPt.y, f.top, f.bottom)};
    if (clamped != windowPt && GetNative()) GetNative()->WarpPointer(clamped);
    lastPick_ = {clamped.x - f.left, clamped.y - f.top};
    hsl_.hue = static_cast<double>(lastPick_.x) / f.Width() * 360.0;
    hsl_.saturation = static_cast<double>(f.bottom - clamped.y) / f.Height();
    rgb_ = ToRgb(hsl_) & 0xFFFFFFu;
    ShowRgb(true);
    SetLightnessBar(hsl_);
}

void ColorPicker::PlaceMarker(const Hsl& hsl) {
    hsl_ = hsl;
    if (auto* slider = Find<ui::Slider>("color_lightness_slider"))
        slider->SetValue(static_cast<int>(std::lround(hsl.lightness * 255)), ui::Notify::No);
    SetLightnessBar(hsl);
    auto* field = Find<ui::Control>(kField);
    if (!field) return;
    const ui::Rect& f = field->GetPos();
    MoveMarkerTo(f.Width() * hsl.hue / 360.0, f.Height() - hsl.saturation * f.Height());
}

void ColorPicker::MoveMarkerTo(double fieldX, double fieldY) {
    auto* field = Find<ui::Control>(kField);
    auto* marker = Find<ui::Control>(kMarker);
    if (!field || !marker || !marker->GetParent()) return;
    // Float positions are relative to the marker's parent, which frames the field.
    const ui::Rect& parent = marker->GetParent()->GetPos();
    int w = marker->GetFixedWidth(), h = marker->GetFixedHeight();
    int x = field->GetPos().left - parent.left + static_cast<int>(std::lround(fieldX)) - w / 2;
    int y = field->GetPos().top - parent.top + static_cast<int>(std::lround(fieldY)) - h / 2;
    marker->SetFloatPos({x, y, x + w, y + h});
}

void ColorPicker::SetLightnessBar(const Hsl& hsl) {
    if (auto* bar = Find<ui::Control>("color_lightness_control"))
        bar->SetBkColor2(ToRgb({hsl.hue, hsl.saturation, 0.5}));
}

void ColorPicker::ShowRgb(bool boxes) {
    if (auto* swatch = Find<ui::Control>("current_color_control")) swatch->SetBkColor(kOpaque | rgb_);
    if (!boxes) return;
    const std::pair<const char*, int> channels[] = {{"r_edit", 16}, {"g_edit", 8}, {"b_edit", 0}};
    for (auto [name, shift] : channels) {
        if (auto* edit = Find<ui::Edit>(name))
            edit->SetText(std::to_string((rgb_ >> shift) & 0xFF), ui::Notify::No);
    }
}

void ColorPicker::OnBoxChanged(ui::Control& box, int shift) {
    // Digits only (the boxes take nothing else); an empty box counts as 0 while it is being typed.
    int value = 0;
    for (char c : box.GetText()) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), 256);
    }
    if (value > 255) {
        value = 255;
        if (auto* edit = dynamic_cast<ui::Edit*>(&box)) edit->SetText("255", ui::Notify::No);
    }
    rgb_ = (rgb_ & ~(0xFFu << shift)) | static_cast<uint32_t>(value) << shift;
    PlaceMarker(ToHsl(rgb_));
    ShowRgb(false);
}

}  // namespace mouse
