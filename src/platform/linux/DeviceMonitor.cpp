#include "platform/DeviceMonitor.h"

#include <libudev.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "platform/CrashHandler.h"
#include "platform/Trace.h"
#include "platform/linux/MonitorLoop.h"

namespace platform {
namespace {

class UdevMonitor final : public DeviceMonitor {
  public:
    UdevMonitor(udev* context, udev_monitor* monitor, int wakeRead, int wakeWrite,
                std::function<void()> onChange)
        : udev_(context),
          monitor_(monitor),
          wakeRead_(wakeRead),
          wakeWrite_(wakeWrite),
          onChange_(std::move(onChange)) {
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
    // Reads the events the loop polls for.
    class UdevSource final : public linux_impl::MonitorSource {
      public:
        explicit UdevSource(udev_monitor* monitor) : monitor_(monitor) {}
        bool ReceiveChange() override {
            udev_device* device = udev_monitor_receive_device(monitor_);
            if (!device) return false;
            const char* action = udev_device_get_action(device);
            bool relevant = action && (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0);
            udev_device_unref(device);
            return relevant;
        }

      private:
        udev_monitor* monitor_;
    };

    void Loop() {
        InstallThreadCrashStack();
        UdevSource source(monitor_);
        linux_impl::RunMonitorLoop(source, udev_monitor_get_fd(monitor_), wakeRead_, onChange_);
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
