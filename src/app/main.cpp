// Oakridge entry point. The command line is not read.
#include <cstdio>

#include "app/Application.h"
#include "app/BenchProbe.h"
#include "ui/backend/gtk/GtkBackend.h"

int main() {
    auto backend = ui::GtkBackend::Create();
    app::InstallBenchProbe();
    if (!backend) std::fprintf(stderr, "Oakridge: no display to open the window on (is DISPLAY set?)\n");
    return app::RunApplication(std::move(backend));
}
