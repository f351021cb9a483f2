#pragma once
// The modal colour chooser the pages open for stage and LED colours: a hue/saturation field picked
// with the mouse, a lightness slider, and red, green and blue boxes. Only OK changes the caller's
// colour, and its alpha byte always survives.
#include <cstdint>
#include <functional>

#include "ui/core/Event.h"
#include "ui/core/Window.h"

namespace mouse {

class ColorPicker final : public ui::WindowImplBase {
  public:
    // Hue in degrees [0, 360]; saturation and lightness in [0, 1].
    struct Hsl {
        double hue = 0;
        double saturation = 0;
        double lightness = 0;
    };
    static Hsl ToHsl(uint32_t rgb);
    // 0xFFRRGGBB.
    static uint32_t ToRgb(const Hsl& hsl);

    // Replaces the picker the pages open (tests); null restores it.
    using Chooser = std::function<bool(ui::WindowImplBase& owner, uint32_t& argb)>;
    static void SetChooser(Chooser chooser);
    // What a page opens: the picker over `owner`, or the replacement; true when a colour was chosen.
    static bool Ask(ui::WindowImplBase& owner, uint32_t& argb);

    explicit ColorPicker(ui::WindowImplBase* owner);
    // Runs the picker modally over the owner, starting from `colour` (0xAARRGGBB). On OK `colour`
    // takes the picked red, green and blue and keeps its alpha, and the result is true; otherwise
    // `colour` is untouched. (Not named ShowModal: the base's ShowModal() returns the close code.)
    bool Choose(uint32_t& colour);

    std::string GetWindowClassName() const override { return "ColorPicker"; }
    std::string GetSkinFile() const override { return "XML/ColorPicker.xml"; }
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;

  private:
    bool OnFieldEvent(ui::UiEvent& event);
    // Picks the field point nearest `windowPt`; a point outside pulls the pointer back onto the edge.
    void PickAt(ui::Point windowPt);
    // Stores `hsl`, moves the marker, the slider and the lightness bar to it.
    void PlaceMarker(const Hsl& hsl);
    void MoveMarkerTo(double fieldX, double fieldY);
    void SetLightnessBar(const Hsl& hsl);
    // Makes the current red, green and blue the shown colour; `boxes` rewrites the three edits.
    void ShowRgb(bool boxes);
    void OnBoxChanged(ui::Control& box, int shift);

    ui::WindowImplBase* owner_;
    uint32_t startColour_ = 0;
    Hsl hsl_;
    uint32_t rgb_ = 0;  // 0x00RRGGBB
    bool dragging_ = false;
    ui::Point lastPick_;  // field-relative point of the last pick while dragging
};

}  // namespace mouse
