#include "app/Application.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/MainFrame.h"
#include "platform/CrashHandler.h"
#include "platform/MessageEndpoint.h"
#include "platform/Paths.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/Window.h"

namespace app {
namespace {

// Messages may arrive before the window exists; until then they are dropped.
std::atomic<ui::WindowHandle> mainWindow{0};

// At most this many of a report's problems go into the dialog; the whole report goes to stderr.
constexpr int kDialogProblemLines = 8;

// The skinned windows may be what is broken, and the language files may not be read yet: the
// dialog is the platform's own and its text is plain English.
void ShowBrokenSkin(const std::string& report) {
    std::fprintf(stderr, "Oakridge: the skin cannot be loaded.\n%s\n", report.c_str());
    std::fflush(stderr);
    std::string text = "Oakridge cannot start because a file of its skin cannot be read.\n\nSkin folder: " +
                       ui::Toolkit::GetResourcePath() + "\n\n";
    size_t at = 0;
    for (int line = 0; at < report.size(); ++line) {
        size_t end = report.find('\n', at);
        if (end == std::string::npos) end = report.size();
        if (line == kDialogProblemLines) {
            text += "(more in the report on standard error)\n";
            break;
        }
        text += report.substr(at, end - at) + "\n";
        at = end + 1;
    }
    text += "\nReinstalling the program restores the skin.";
    ui::Toolkit::GetBackend().ShowFatalError(MainFrame::kClassName, text);
}

// A window opened once the main window stands cannot go on without its skin.
[[noreturn]] void EndOnBrokenSkin(const std::string& report) {
    ShowBrokenSkin(report);
    // Nothing is held in memory that a later save would need, so ending here loses nothing.
    std::_Exit(0);
}

}  // namespace

void SetUpToolkitPaths() {
    ui::Toolkit::SetInstancePath(platform::ProgramFolder());
    ui::Toolkit::SetResourcePath(platform::ProgramFolder() + "res/Skin/");
}

int RunMainWindow() {
    // While the main window is built, a broken skin is kept so the window can be taken down in
    // order before the user is told.
    std::string broken;
    ui::Toolkit::SetSkinErrorHandler([&broken](const std::string& report) {
        if (broken.empty()) broken = report;
    });
    auto frame = std::make_unique<MainFrame>();
    bool opened = frame->Open();
    ui::Toolkit::SetSkinErrorHandler(EndOnBrokenSkin);
    if (!opened || !broken.empty()) {
        frame.reset();
        ShowBrokenSkin(broken);
        return 0;
    }
    mainWindow.store(frame->GetHandle());
    ui::Toolkit::MessageLoop();
    mainWindow.store(0);
    return 0;
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
    auto endpoint = ClaimMessageEndpoint([](uint32_t message, int64_t wParam, int64_t lParam) {
        if (ui::WindowHandle h = mainWindow.load())
            ui::WindowImplBase::PostMessageTo(h, message, static_cast<intptr_t>(wParam),
                                              static_cast<intptr_t>(lParam));
    });
    if (!endpoint) return 0;  // another copy runs; it is not activated
    platform::InstallCrashFilter(1);
    if (!backend) return 0;
    ui::Toolkit::Init(std::move(backend));
    SetUpToolkitPaths();
    int code = RunMainWindow();
    endpoint.reset();
    ui::Toolkit::Shutdown();
    return code;
}

}  // namespace app
