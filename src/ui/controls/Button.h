#pragma once
// Push button: state images, "click" on release inside, Space/Enter when focused. With
// hovernotify it also reports the pointer entering and leaving, each twice: "mouseenter" /
// "mouseleave" and, for the macro pages' record buttons, "Button_Mouse_Focus" /
// "Button_Mouse_Lose_Focus".
// A write-on-demand page marks its write button pending while it holds changes the device lacks:
// the pending look (pendingimage, pendingbkcolor, pendingtextcolor) replaces the normal one
// until cleared; pressed and disabled still look pressed and disabled.
#include "ui/controls/Label.h"

namespace ui {

class Button : public Label {
  public:
    Button();
    std::string_view GetClass() const override { return "Button"; }
    bool WantsFocus() const override { return true; }
    bool IsInteractive() const override { return true; }
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(UiEvent& event) override;
    bool Activate() override;

    bool IsPending() const { return pending_; }
    void SetPending(bool pending);

  protected:
    void PaintStatusImage(Canvas& canvas) override;
    void PaintBkColor(Canvas& canvas) override;
    Color CurrentTextColor() const override;
    bool hoverNotify_ = false;

  private:
    bool ShowsPending() const;

    bool pending_ = false;
    std::string pendingImage_;
    Color pendingBkColor_ = 0;
    Color pendingTextColor_ = 0;
};

}  // namespace ui
