#include "assign/KeepLeftFlag.h"

#include <array>
#include <cstddef>

namespace assign {
namespace {

std::array<uint8_t, kDeviceModelCount>& Flags() {
    static std::array<uint8_t, kDeviceModelCount> flags = [] {
        std::array<uint8_t, kDeviceModelCount> start{};
        start.fill(1);
        return start;
    }();
    return flags;
}

}  // namespace

uint8_t KeepLeftFlag(DeviceModel model) {
    auto i = static_cast<std::size_t>(model);
    return i < kDeviceModelCount ? Flags()[i] : 1;
}

void SetKeepLeftFlag(DeviceModel model, uint8_t value) {
    auto i = static_cast<std::size_t>(model);
    if (i < kDeviceModelCount) Flags()[i] = value ? 1 : 0;
}

}  // namespace assign
