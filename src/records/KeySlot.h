#pragma once
// One button assignment: the assignment code and the zero-based key position. Family-H models
// (Heron, Heron driver) use the first three code bytes; the fourth stays 0.
#include <array>
#include <cstdint>

struct KeySlot {
    std::array<uint8_t, 4> code{};
    int keyIndex = 0;

    bool operator==(const KeySlot&) const = default;
};
