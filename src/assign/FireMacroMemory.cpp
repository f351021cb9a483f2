#include "assign/FireMacroMemory.h"

#include <array>
#include <cstddef>

namespace assign {
namespace {

std::array<uint8_t, kDeviceModelCount>& Bytes() {
    static std::array<uint8_t, kDeviceModelCount> bytes{};
    return bytes;
}

std::size_t IndexOf(DeviceModel model) {
    return static_cast<std::size_t>(model);
}

}  // namespace

uint8_t RememberedFireMacroByte(DeviceModel model) {
    return IndexOf(model) < kDeviceModelCount ? Bytes()[IndexOf(model)] : 0;
}

void SetRememberedFireMacroByte(DeviceModel model, uint8_t value) {
    if (IndexOf(model) < kDeviceModelCount) Bytes()[IndexOf(model)] = value;
}

}  // namespace assign
