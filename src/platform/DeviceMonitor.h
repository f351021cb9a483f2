#pragma once
// Watches the system for USB and hidraw devices coming and going (the device-change broadcast).
#include <functional>
#include <memory>

namespace platform {

class DeviceMonitor {
  public:
    // `onChange` runs on the monitor's own thread for every add or remove; post from there, never
    // touch windows. Null when the system offers no device events (no udev, no permission).
    static std::unique_ptr<DeviceMonitor> Start(std::function<void()> onChange);
    virtual ~DeviceMonitor() = default;
};

}  // namespace platform
