#pragma once
// The drop shadow under a macro pop-up menu: a window without input that paints "menu_bk.png"
// with its corners over the menu's whole rectangle. It asks for an RGBA surface, so where the
// screen composites the soft edge shows the desktop through it.
#include "ui/core/Window.h"

class CShadowWnd final : public ui::WindowImplBase {
  public:
    static constexpr const char* kImage = "file='Image/menu_bk.png' corner='40,8,8,8'";

    std::string GetWindowClassName() const override { return "UIShadow"; }
    std::string GetSkinFile() const override { return {}; }
    std::unique_ptr<ui::Control> CreateRootInCode() override;

    // Creates the window over `screenRect` owned by `owner` and shows it without the focus.
    bool Open(ui::WindowImplBase& owner, const ui::Rect& screenRect);
    // Follows the menu.
    void Place(const ui::Rect& screenRect);
};
