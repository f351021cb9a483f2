// How long the program takes to an interactive main window, without the device reads (they run on
// the worker behind the progress window): building the skin with its six pages, the first layout,
// and painting the first frame.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdlib>
#include <filesystem>

#include "UiDriver.h"
#include "app/MainFrame.h"
#include "ui/render/CairoCanvas.h"

namespace {

void PrepareEnvironment() {
    static bool done = [] {
        auto home = std::filesystem::temp_directory_path() / "oakridge-bench";
        std::filesystem::create_directories(home / "run");
        std::filesystem::permissions(home / "run", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (home / "run").c_str(), 1);
        setenv("OAKRIDGE_DEVICE_DIR", (home / "devices").c_str(), 1);
        setenv("OAKRIDGE_BIN_DIR", OAKRIDGE_BIN_DIR, 0);
        return true;
    }();
    (void)done;
}

void BM_MainWindowToFirstFrame(benchmark::State& state) {
    PrepareEnvironment();
    oaktest::UiDriver ui;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1310, 749);
    for (auto _ : state) {
        app::MainFrame frame;
        frame.Open();
        cairo_t* cr = cairo_create(surface);
        {
            ui::CairoCanvas canvas(cr);
            frame.OnNativePaint(canvas, {0, 0, 1310, 749});
        }
        cairo_destroy(cr);
        // Let the first device read finish before the window goes (it is not part of the measure).
        state.PauseTiming();
        ui.RunUntil([&] { return !frame.IsDeviceTaskRunning(); });
        ui.RunUntilIdle();
        state.ResumeTiming();
    }
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_MainWindowToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
