#include "platform/linux/MonitorLoop.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/Trace.h"

namespace platform::linux_impl {

bool MonitorSource::WaitForWake(int wakeFd, int ms) {
    pollfd fd{wakeFd, POLLIN, 0};
    int n = ::poll(&fd, 1, ms);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) {
        // Poll is broken altogether: still never spin, but keep the owner's wait for us short.
        int capped = std::min(ms, 1000);
        timespec pause{capped / 1000, static_cast<long>(capped % 1000) * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
    return false;
}

void MonitorSource::Log(std::string_view line) {
    Trace(line);
}

void RunMonitorLoop(MonitorSource& source, int eventFd, int wakeFd, const std::function<void()>& onChange) {
    pollfd fds[2] = {{eventFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    int backoffMs = kFirstBackoffMs;
    bool logged = false;
    // A poll that fails, or an event descriptor in error, comes back at once every time: wait longer
    // after each, so a broken monitor costs nothing, and say so once.
    auto backOff = [&](const std::string& why) {
        if (!logged) {
            source.Log("device monitor: " + why + "; retrying with back-off");
            logged = true;
        }
        bool woken = source.WaitForWake(wakeFd, backoffMs);
        backoffMs = std::min(backoffMs * 2, kMaxBackoffMs);
        return woken;
    };
    while (true) {
        if (source.Poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            if (backOff(std::string("poll failed: ") + std::strerror(errno))) return;
            continue;
        }
        if (fds[1].revents) return;
        if (fds[0].revents & POLLIN) {
            backoffMs = kFirstBackoffMs;
            if (source.ReceiveChange()) onChange();
        } else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            if (backOff("the udev socket is in error")) return;
        }
    }
}

}  // namespace platform::linux_impl
