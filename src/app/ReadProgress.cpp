#include "app/ReadProgress.h"

#include "ui/core/Toolkit.h"

namespace app {

ReadProgress* ReadProgress::Open(ui::WindowImplBase& owner, bool toolWindow) {
    auto* window = new ReadProgress();
    ui::WindowStyle style;
    style.topMost = true;
    style.toolWindow = toolWindow;
    if (!window->Create(&owner, "", style, {0, 0, 544, 394})) {
        delete window;
        return nullptr;
    }
    window->ShowWindow(true, false);
    return window;
}

void ReadProgress::InitWindow() { SizeToSkinAndCenter(); }

intptr_t ReadProgress::HandleMessage(uint32_t message, intptr_t, intptr_t, bool& handled) {
    handled = false;
    if (message == 1002) {
        Close(2);
        handled = true;
    }
    return 0;
}

void ReadProgress::OnFinalMessage() {
    // Deleted after its last message has been handled, never inside it.
    ReadProgress* self = this;
    ui::Toolkit::PostTask([self] { delete self; });
}

}  // namespace app
