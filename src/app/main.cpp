// Oakridge entry point.
#include <cstdio>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/BenchProbe.h"
#include "app/CommandLine.h"
#include "ui/backend/gtk/GtkBackend.h"

int main(int argc, char** argv) {
    // Before the display, the bench probe and the single-instance endpoint are touched.
    auto commandLine = app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!commandLine.run) {
        std::fputs(commandLine.out.c_str(), stdout);
        std::fputs(commandLine.err.c_str(), stderr);
        return commandLine.exitCode;
    }
    auto backend = ui::GtkBackend::Create();
    app::InstallBenchProbe();
    if (!backend) std::fprintf(stderr, "Oakridge: no display to open the window on (is DISPLAY set?)\n");
    return app::RunApplication(std::move(backend));
}
