#pragma once
// Push button: state images, "click" on release inside, Space/Enter when focused. With
// hovernotify it also reports the pointer entering and leaving, each twice: "mouseenter" /
// "mouseleave" and, for the macro pages' record buttons, "Button_Mouse_Focus" /
// "Button_Mouse_Lose_Focus".
#include "ui/controls/Label.h"

namespace ui {

class Button : public Label {
  public:
    Button();
    std::string_view GetClass() const override { return "Button"; }
    bool WantsFocus() const override { return true; }
    bool TakesFocusOnClick() const override { return false; }
    bool IsInteractive() const override { return true; }
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(UiEvent& event) override;
    bool Activate() override;

  protected:
    void PaintStatusImage(Canvas& canvas) override;
    bool hoverNotify_ = false;
};

}  // namespace ui
