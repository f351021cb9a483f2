#pragma once
// One device fire-macro slot: adjustments, segment colour and the 24-byte recoil pattern.
#include <array>
#include <cstdint>

struct FireMacroEntry {
    static constexpr int kPatternSize = 24;

    int8_t xAdjust = 0;
    int8_t yAdjust = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
    std::array<uint8_t, kPatternSize> data{};

    bool operator==(const FireMacroEntry&) const = default;
};
