#pragma once
// In-memory image of the connected Egret mouse.
#include <array>
#include <cstdint>
#include <vector>

#include "records/DeviceModel.h"
#include "records/FamilyEConfig.h"
#include "records/UartLedEntry.h"

struct EgretConfig : FamilyEConfig {
    static constexpr DeviceModel kModel = DeviceModel::Egret;
    static constexpr int kUartLedCount = 32;

    EgretConfig() : FamilyEConfig(3) {}

    // 0: three profiles, ten fire macros, plain lighting page. Other values: two profiles, seven
    // fire macros and the UART LED page.
    int deviceKind = 0;
    std::vector<UartLedEntry> uartLeds;       // 32 entries when deviceKind is nonzero
    std::array<uint8_t, 8> ledEffectBlock{};  // effect index per UART mode
};
