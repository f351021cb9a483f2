#pragma once
// The program's only diagnostic channel: one line to stderr when OAKRIDGE_TRACE is set.
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

namespace trace_state {
// -1 until the environment was read, then 0 or 1. Read on hot paths, so it is a plain relaxed load.
extern std::atomic<int> gEnabled;
int ReadEnvironment();
}  // namespace trace_state

// Cheap enough to guard every trace: callers format nothing unless it says yes.
inline bool TraceEnabled() {
    const int state = trace_state::gEnabled.load(std::memory_order_relaxed);
    return (state < 0 ? trace_state::ReadEnvironment() : state) > 0;
}

void Trace(std::string_view line);

// Tests: while one is alive, tracing is on and every line goes to it instead of stderr, from any
// thread. Not nested.
class TraceCapture {
  public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<std::string> Lines() const;
    void Clear();
};

}  // namespace platform
