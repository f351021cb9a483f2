#pragma once
// Page mirror of the Heron mouse reached through its driver library. The driver block is also the
// device selector passed to every open.
#include <array>
#include <cstdint>

#include "records/DeviceModel.h"
#include "records/FamilyHConfig.h"

struct HeronDriverConfig : FamilyHConfig {
    static constexpr DeviceModel kModel = DeviceModel::HeronDriver;

    // Byte 0: current stage in the low nibble. Byte 1: lighting mode in bits 0-2 (1 rainbow ... 7 off),
    // bit 3 set when the lights are off. Byte 2: passed through. Byte 3: level of the current stage.
    std::array<uint8_t, 4> driverBlock{1, 2, 255, 4};
};
