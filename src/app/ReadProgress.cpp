#include "app/ReadProgress.h"

#include "ui/core/Messages.h"

namespace app {

std::unique_ptr<ReadProgress> ReadProgress::Open(ui::WindowImplBase& owner, bool toolWindow) {
    std::unique_ptr<ReadProgress> window(new ReadProgress());
    ui::WindowStyle style;
    style.topMost = true;
    style.toolWindow = toolWindow;
    if (!window->Create(&owner, "", style, {0, 0, 544, 394})) return nullptr;
    window->ShowWindow(true, false);
    return window;
}

void ReadProgress::InitWindow() {
    SizeToSkinAndCenter();
}

intptr_t ReadProgress::HandleMessage(uint32_t message, intptr_t, intptr_t, bool& handled) {
    handled = false;
    if (message == 1002) {
        // At once, not posted: the opener may show a message box right after.
        finished_ = true;
        SendMessage(ui::kWmClose, 2, 0);
        handled = true;
    } else if (message == ui::kWmClose && !finished_) {
        handled = true;  // a running task cannot be cancelled, so the window stays until it ends
    }
    return 0;
}

}  // namespace app
