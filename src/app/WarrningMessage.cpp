#include "app/WarrningMessage.h"

#include "ui/controls/Button.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"

namespace app {

WarrningMessage::WarrningMessage(ui::WindowImplBase* owner, std::string text)
    : owner_(owner), text_(std::move(text)) {}

bool WarrningMessage::ShowMessage() {
    ui::WindowStyle style;
    style.toolWindow = true;
    if (!Create(owner_, "", style, {})) return false;
    return ShowModal() == 1;
}

void WarrningMessage::InitWindow() {
    SizeToSkinAndCenter();
    if (auto* label = Find<ui::Control>("label_display")) label->SetText(text_);
    // OK takes the focus so Enter answers it.
    if (auto* ok = Find<ui::Button>("btn_ok")) GetManager().SetFocus(ok);
}

void WarrningMessage::Notify(ui::Notification& n) {
    if (n.type != "click" || !n.sender) return;
    if (n.sender->NameIs("btn_ok"))
        Close(1);
    else if (n.sender->NameIs("btn_cancel") || n.sender->NameIs("btn_colse"))
        Close(2);
}

intptr_t WarrningMessage::HandleMessage(uint32_t message, intptr_t wParam, intptr_t, bool& handled) {
    handled = false;
    if (message == ui::kWmKeyDown && static_cast<uint32_t>(wParam) == ui::kVkEscape) {
        Close(2);
        handled = true;
    }
    return 0;
}

bool ShowMessage(ui::WindowImplBase* owner, const std::string& text) {
    WarrningMessage box(owner, text);
    return box.ShowMessage();
}

}  // namespace app
