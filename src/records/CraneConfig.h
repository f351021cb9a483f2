#pragma once
// In-memory image of the connected Crane mouse: two profiles, the combo-key blocks and the macro
// random time.
#include <array>
#include <cstdint>
#include <string>

#include "records/DeviceModel.h"
#include "records/FamilyEConfig.h"

struct CraneConfig : FamilyEConfig {
    static constexpr DeviceModel kModel = DeviceModel::Crane;

    CraneConfig() : FamilyEConfig(2) {}

    std::array<uint8_t, 4> comboBlockA{};  // the library's combo-key block 2
    std::array<uint8_t, 4> comboBlockB{};  // the library's combo-key block 4
    int randomTime = 0;                    // 0 off, else 1 to 255
    std::string lightingVariant;           // user data of the speed slider; "RGB" selects flag 0
};
