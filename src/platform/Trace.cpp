// The trace channel: one line to stderr, only when OAKRIDGE_TRACE is set (checked once).
#include "platform/Trace.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

namespace platform {

namespace trace_state {

std::atomic<int> gEnabled{-1};

int ReadEnvironment() {
    static const int fromEnvironment = [] {
        const char* value = std::getenv("OAKRIDGE_TRACE");
        return value != nullptr && value[0] != '\0' ? 1 : 0;
    }();
    int expected = -1;
    // A capture that switched tracing on in the meantime wins.
    gEnabled.compare_exchange_strong(expected, fromEnvironment, std::memory_order_relaxed);
    return gEnabled.load(std::memory_order_relaxed);
}

}  // namespace trace_state

namespace {

struct Capture {
    std::mutex mutex;
    bool active = false;
    int before = -1;  // the enabled state to restore
    std::vector<std::string> lines;
};

Capture& TheCapture() {
    static Capture* const capture = new Capture;  // traces may come from threads that outlive main
    return *capture;
}

// A captured line; false when no capture is active.
bool Captured(std::string_view line) {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    if (!capture.active) return false;
    capture.lines.emplace_back(line);
    return true;
}

}  // namespace

void Trace(std::string_view line) {
    if (!TraceEnabled()) return;
    if (Captured(line)) return;
    // One write() per line so lines from different threads never interleave.
    std::string text;
    text.reserve(line.size() + 1);
    text.append(line);
    text.push_back('\n');
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
}

TraceCapture::TraceCapture() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    capture.active = true;
    capture.lines.clear();
    capture.before = TraceEnabled() ? 1 : 0;
    trace_state::gEnabled.store(1, std::memory_order_relaxed);
}

TraceCapture::~TraceCapture() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    capture.active = false;
    capture.lines.clear();
    trace_state::gEnabled.store(capture.before, std::memory_order_relaxed);
}

std::vector<std::string> TraceCapture::Lines() const {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    return capture.lines;
}

void TraceCapture::Clear() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    capture.lines.clear();
}

}  // namespace platform
