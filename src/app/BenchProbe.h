#pragma once
// Start-up timings for the benchmarks, off unless OAKRIDGE_BENCH_PROBE names a file. Then each
// event is appended to it once as "<event> <CLOCK_MONOTONIC nanoseconds>":
//   painted        the first frame of a 1310 x 749 top-level window has been drawn
//   progress-gone  the first other top-level window (the start-up progress window) went away
// It watches GTK itself rather than the program, so an empty window measured with it is measured
// at the same points. GTK emits "draw" only to widgets with a handler, so a window is seen through
// a widget of it that has one.

namespace app {

// Call once after GTK is initialised. Does nothing without the variable.
void InstallBenchProbe();

}  // namespace app
