#pragma once
// Big-endian access to integers inside a memory image.
#include <cstdint>
#include <vector>

namespace sim {

using Image = std::vector<uint8_t>;

inline int32_t ReadInt(const Image& image, uint32_t offset, uint16_t width, bool isSigned) {
    uint32_t value = 0;
    for (uint16_t i = 0; i < width; ++i) value = (value << 8) | image[offset + i];
    if (isSigned && width < 4) {
        const uint32_t signBit = 1u << (width * 8 - 1);
        if (value & signBit) return static_cast<int32_t>(value) - static_cast<int32_t>(signBit << 1);
    }
    return static_cast<int32_t>(value);
}

inline void WriteInt(Image& image, uint32_t offset, uint16_t width, int32_t value) {
    uint32_t raw = static_cast<uint32_t>(value);
    for (int i = width - 1; i >= 0; --i) {
        image[offset + static_cast<uint32_t>(i)] = static_cast<uint8_t>(raw & 0xFF);
        raw >>= 8;
    }
}

}  // namespace sim
