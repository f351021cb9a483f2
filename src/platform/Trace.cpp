// The trace channel: one line to stderr, only when OAKRIDGE_TRACE is set (checked once).
#include "platform/Trace.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform {

bool TraceEnabled() {
    static const bool enabled = [] {
        const char* value = std::getenv("OAKRIDGE_TRACE");
        return value != nullptr && value[0] != '\0';
    }();
    return enabled;
}

void Trace(std::string_view line) {
    if (!TraceEnabled()) return;
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

}  // namespace platform
