#pragma once
// Page mirror of the Heron library's image of the mouse reached directly.
#include <vector>

#include "records/DeviceModel.h"
#include "records/FamilyHConfig.h"
#include "records/FireMacroEntry.h"

struct HeronConfig : FamilyHConfig {
    static constexpr DeviceModel kModel = DeviceModel::Heron;
    static constexpr int kMaxFireMacros = 10;

    int ledOn = 0;         // 0 lights on, 1 lights off
    int lightAll = 1;      // 1 all, 0 half
    int lightingMode = 0;  // 0 to 6
    int lightingSpeed = 0;
    std::vector<FireMacroEntry> fireMacros;
};
