#pragma once
// One device fire-macro slot: adjustments, segment colour and the 24-byte recoil pattern.
#include <array>
#include <cstdint>

struct FireMacroEntry {
    static constexpr int kPatternSize = 24;

    // A slot whose read failed keeps its place in the list, so later slots stay at their numbers;
    // it holds nothing to show and must never be written back.
    static FireMacroEntry Unread() {
        FireMacroEntry entry;
        entry.read = false;
        return entry;
    }

    int8_t xAdjust = 0;
    int8_t yAdjust = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
    std::array<uint8_t, kPatternSize> data{};
    bool read = true;  // false: the device did not deliver this slot

    bool operator==(const FireMacroEntry&) const = default;
};
