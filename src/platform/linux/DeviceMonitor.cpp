#include "platform/DeviceMonitor.h"

#include <libudev.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "platform/Trace.h"

namespace platform {
namespace {

class UdevMonitor final : public DeviceMonitor {
public:
    UdevMonitor(udev* context, udev_monitor* monitor, int wakeRead, int wakeWrite, std::function<void()> onChange)
        : udev_(context), monitor_(monitor), wakeRead_(wakeRead), wakeWrite_(wakeWrite), onChange_(std::move(onChange)) {
        thread_ = std::thread([this] { Loop(); });
    }

    ~UdevMonitor() override {
        char byte = 1;
        (void)!write(wakeWrite_, &byte, 1);
        thread_.join();
        close(wakeRead_);
        close(wakeWrite_);
        udev_monitor_unref(monitor_);
        udev_unref(udev_);
    }

private:
    void Loop() {
        pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        while (true) {
            if (poll(fds, 2, -1) < 0) continue;
            if (fds[1].revents) return;
            if (!(fds[0].revents & POLLIN)) continue;
            udev_device* device = udev_monitor_receive_device(monitor_);
            if (!device) continue;
            const char* action = udev_device_get_action(device);
            bool relevant = action && (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0);
            udev_device_unref(device);
            if (relevant) onChange_();
        }
    }

    udev* udev_;
    udev_monitor* monitor_;
    int wakeRead_;
    int wakeWrite_;
    std::function<void()> onChange_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<DeviceMonitor> DeviceMonitor::Start(std::function<void()> onChange) {
    udev* context = udev_new();
    if (!context) return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "usb", "usb_device") < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        Trace("device monitor: udev events are not available");
        if (monitor) udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<UdevMonitor>(context, monitor, pipeFds[0], pipeFds[1], std::move(onChange));
}

}  // namespace platform
