#pragma once
// The pop-up list of an open combo box. Closes on a choice, Escape, or losing the focus.
#include "ui/core/Window.h"

namespace ui {

class Combo;
class ComboDropView;

class ComboDropWindow final : public WindowImplBase {
  public:
    explicit ComboDropWindow(Combo& combo);
    std::string GetWindowClassName() const override { return "ComboWnd"; }
    std::string GetSkinFile() const override { return {}; }
    std::unique_ptr<Control> CreateRootInCode() override;
    void OnFinalMessage() override;
    void OnNativeFocusChanged(bool focused) override;

    // Opens below the combo (above it when there is no room).
    bool Open();
    // The row rectangle of combo item `index` in this window, scrolled into view; empty if none.
    Rect RowRect(int index);
    void Choose(int index);
    void Detach() { combo_ = nullptr; }
    Combo* GetCombo() const { return combo_; }

  private:
    Combo* combo_;
    ComboDropView* view_ = nullptr;
};

}  // namespace ui
