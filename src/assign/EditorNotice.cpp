#include "assign/EditorNotice.h"

#include "ui/controls/Button.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"

namespace assign {

EditorNotice::EditorNotice(ui::WindowImplBase* owner, std::string text)
    : owner_(owner), text_(std::move(text)) {}

bool EditorNotice::Show(ui::WindowImplBase* owner, const std::string& text) {
    EditorNotice box(owner, text);
    ui::WindowStyle style;
    style.toolWindow = true;
    if (!box.Create(owner, "", style, {})) return false;
    return box.ShowModal() == 1;
}

void EditorNotice::InitWindow() {
    SizeToSkinAndCenter();
    if (auto* label = Find<ui::Control>("label_display")) label->SetText(text_);
    if (auto* ok = Find<ui::Button>("btn_ok")) GetManager().SetFocus(ok);
}

void EditorNotice::Notify(ui::Notification& n) {
    if (n.type != "click" || !n.sender) return;
    if (n.sender->NameIs("btn_ok"))
        Close(1);
    else if (n.sender->NameIs("btn_cancel") || n.sender->NameIs("btn_colse"))
        Close(2);
}

intptr_t EditorNotice::HandleMessage(uint32_t message, intptr_t wParam, intptr_t, bool& handled) {
    handled = false;
    if (message == ui::kWmKeyDown && static_cast<uint32_t>(wParam) == ui::kVkEscape) {
        Close(2);
        handled = true;
    }
    return 0;
}

}  // namespace assign
