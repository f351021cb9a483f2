#pragma once
// A page-level rapid-fire slot. `count` is as the device stores it: the shown count minus one, so -1
// stands for a shown 0.
#include <cstdint>

struct RapidFireSlot {
    int count = 0;
    int interval = 0;  // 0 to 4096
    uint8_t continuous = 0;

    bool operator==(const RapidFireSlot&) const = default;
};
