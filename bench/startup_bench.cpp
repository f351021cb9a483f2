// How long the program takes to an interactive main window, without the device reads (they run on
// the worker behind the progress window): building the skin with its six pages, the first layout,
// and painting the first frame.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdlib>
#include <filesystem>

#include "BenchEnvironment.h"
#include "UiDriver.h"
#include "app/MainFrame.h"
#include "ui/render/CairoCanvas.h"

namespace {

void PrepareEnvironment() {
    static const auto home = bench::PrepareHome("oakridge-bench", false);
    (void)home;
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
