#pragma once
// The right-click menu of the macro pages' lists. Its skin follows the control that opened it (the
// macro list: "XML/MarcoNameMenu.xml"; the step list: "XML/MarcoContentMenu.xml"). Clicking a
// command item sends the owner control's paint manager one asynchronous notification named after
// the item, from the owner control; the menu closes on a choice, Escape and losing the focus. It
// opens at a screen point and moves, without changing size, to stay inside the work area.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro/CShadowWnd.h"
#include "ui/core/Window.h"

class CMenuWnd final : public ui::WindowImplBase {
  public:
    // Width of the shadow around the menu; the menu itself is this much inside its rectangle.
    static constexpr int kShadow = 8;
    static constexpr const char* kItemList = "menu_items";

    CMenuWnd();
    ~CMenuWnd() override;

    // The menu skin for the owner control's name; empty for a menu without items.
    static std::string SkinFor(std::string_view ownerName);
    // The notification names the items may carry.
    static const std::vector<std::string>& Commands();

    // Opens for `owner` at `screenPt` (the menu's top-left), without the items named in `hidden`.
    bool Init(ui::Control* owner, ui::Point screenPt, const std::vector<std::string>& hidden = {});
    ui::Control* OwnerControl() const { return owner_; }
    // The menu with its shadow, in screen coordinates.
    ui::Rect FullRect() const;
    CShadowWnd* Shadow() const { return shadow_.get(); }

    std::string GetWindowClassName() const override { return "CMenuWnd"; }
    std::string GetSkinFile() const override { return skin_; }
    std::unique_ptr<ui::Control> CreateRootInCode() override;
    void Notify(ui::Notification& n) override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;
    void OnNativeFocusChanged(bool focused) override;
    void OnFinalMessage() override;

  private:
    int ContentHeight() const;

    ui::Control* owner_ = nullptr;
    ui::Point point_;
    std::string skin_;
    std::unique_ptr<CShadowWnd> shadow_;
};
