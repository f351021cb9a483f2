#pragma once
// The skinned message box for short notices: OK returns true; Cancel, the close button and
// Escape return false.
#include <string>

#include "ui/core/Window.h"

namespace app {

class WarrningMessage final : public ui::WindowImplBase {
  public:
    WarrningMessage(ui::WindowImplBase* owner, std::string text);
    // Runs the box modally over the owner; true when the user chose OK.
    bool ShowMessage();

    std::string GetWindowClassName() const override { return "MessageBox"; }
    std::string GetSkinFile() const override { return "XML/MessageBox.xml"; }
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;

  private:
    ui::WindowImplBase* owner_;
    std::string text_;
};

// Shows `text` (already resolved) in a message box owned by `owner`; true for OK.
bool ShowMessage(ui::WindowImplBase* owner, const std::string& text);

}  // namespace app
