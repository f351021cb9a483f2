#include "macro/CShadowWnd.h"

#include "ui/core/Control.h"

std::unique_ptr<ui::Control> CShadowWnd::CreateRootInCode() {
    auto root = std::make_unique<ui::Control>();
    root->SetBkImage(kImage);
    root->SetMouseEnabled(false);
    return root;
}

bool CShadowWnd::Open(ui::WindowImplBase& owner, const ui::Rect& screenRect) {
    ui::WindowStyle style;
    style.popup = true;
    style.toolWindow = true;
    style.transparent = true;
    if (!Create(&owner, "", style, screenRect)) return false;
    ShowWindow(true, false);
    return true;
}

void CShadowWnd::Place(const ui::Rect& screenRect) {
    SetWindowRect(screenRect);
}
