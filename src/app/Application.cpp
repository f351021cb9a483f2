#include "app/Application.h"

#include <atomic>

#include "app/MainFrame.h"

#include "platform/CrashHandler.h"
#include "platform/MessageEndpoint.h"
#include "platform/Paths.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/Window.h"

namespace app {

void SetUpToolkitPaths() {
    ui::Toolkit::SetInstancePath(platform::ProgramFolder());
    ui::Toolkit::SetResourcePath(platform::ProgramFolder() + "res/Skin/");
}

bool AcceptsExternalMessage(uint32_t message) {
    // 1002-1008 and 2000-2005 are the device workers' reports to the window; a stranger posting
    // them could mark a plugged device lost or finish a task that is still running.
    return message == ui::kWmDeviceChange;
}

std::unique_ptr<platform::MessageEndpoint> ClaimMessageEndpoint(ExternalMessageSink sink) {
    return platform::MessageEndpoint::Claim(MainFrame::kClassName, AcceptsExternalMessage, std::move(sink));
}

int RunApplication(std::unique_ptr<ui::Backend> backend) {
    // Messages may arrive before the window exists; until then they are dropped.
    static std::atomic<ui::WindowHandle> mainWindow{0};
    auto endpoint = ClaimMessageEndpoint([](uint32_t message, int64_t wParam, int64_t lParam) {
        if (ui::WindowHandle h = mainWindow.load())
            ui::WindowImplBase::PostMessageTo(h, message, static_cast<intptr_t>(wParam), static_cast<intptr_t>(lParam));
    });
    if (!endpoint) return 0;  // another copy runs; it is not activated
    platform::InstallCrashFilter(1);
    if (!backend) return 0;
    ui::Toolkit::Init(std::move(backend));
    SetUpToolkitPaths();
    {
        auto frame = std::make_unique<MainFrame>();
        if (frame->Open()) {
            mainWindow.store(frame->GetHandle());
            ui::Toolkit::MessageLoop();
            mainWindow.store(0);
        }
    }
    endpoint.reset();
    ui::Toolkit::Shutdown();
    return 0;
}

}  // namespace app
