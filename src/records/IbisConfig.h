#pragma once
// In-memory image of the connected Ibis mouse: the Egret fields without the variant and UART
// lighting. `lightAll` stays in memory; the Ibis never receives it.
#include "records/DeviceModel.h"
#include "records/FamilyEConfig.h"

struct IbisConfig : FamilyEConfig {
    static constexpr DeviceModel kModel = DeviceModel::Ibis;

    IbisConfig() : FamilyEConfig(3) {}
};
