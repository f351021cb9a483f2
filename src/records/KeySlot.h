#pragma once
// One button assignment: the assignment code and the zero-based key position. Family-H models
// (Heron, Heron driver) use the first three code bytes; the fourth stays 0.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct KeySlot {
    std::array<uint8_t, 4> code{};
    int keyIndex = 0;

    bool operator==(const KeySlot&) const = default;
};

// Key `key` of list `list` (both zero-based) of a record's key lists, or null when either is out of
// range: a read may have replaced the lists, or left one short.
inline KeySlot* KeyAt(std::span<std::vector<KeySlot>> lists, int list, int key) {
    if (list < 0 || static_cast<size_t>(list) >= lists.size()) return nullptr;
    auto& keys = lists[static_cast<size_t>(list)];
    if (key < 0 || static_cast<size_t>(key) >= keys.size()) return nullptr;
    return &keys[static_cast<size_t>(key)];
}
