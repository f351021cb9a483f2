#include "device/DeviceName.h"

std::vector<uint8_t> EncodeDeviceName(std::u16string_view name, size_t bytes) {
    std::vector<uint8_t> out(bytes, 0);
    for (size_t i = 0; i < name.size() && 2 * i + 1 < bytes; ++i) {
        out[2 * i] = static_cast<uint8_t>(name[i] >> 8);
        out[2 * i + 1] = static_cast<uint8_t>(name[i] & 0xFF);
    }
    return out;
}

std::u16string DecodeDeviceName(const uint8_t* data, size_t bytes) {
    std::u16string name;
    if (!data) return name;
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        const char16_t unit = static_cast<char16_t>((data[i] << 8) | data[i + 1]);
        if (unit == 0) break;
        name += unit;
    }
    return name;
}
