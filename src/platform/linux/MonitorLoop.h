#pragma once
// Internal: the device monitor's thread loop, kept apart from udev so that a failing poll can be
// driven in tests.
#include <poll.h>

#include <functional>
#include <string_view>

namespace platform::linux_impl {

class MonitorSource {
  public:
    virtual ~MonitorSource() = default;
    virtual int Poll(pollfd* fds, nfds_t count, int timeoutMs) { return ::poll(fds, count, timeoutMs); }
    // Reads one pending event; true when a device was added or removed.
    virtual bool ReceiveChange() = 0;
    // Waits up to `ms` or until `wakeFd` is readable; true when woken.
    virtual bool WaitForWake(int wakeFd, int ms);
    virtual void Log(std::string_view line);
};

// The first wait after a failed poll and the longest one; each further failure doubles the wait.
inline constexpr int kFirstBackoffMs = 100;
inline constexpr int kMaxBackoffMs = 5000;

// Watches `eventFd` and calls `onChange` for every add or remove, until `wakeFd` becomes readable.
void RunMonitorLoop(MonitorSource& source, int eventFd, int wakeFd, const std::function<void()>& onChange);

}  // namespace platform::linux_impl
