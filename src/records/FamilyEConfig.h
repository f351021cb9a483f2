#pragma once
// Fields the Egret, Ibis and Crane records share (four-byte assignment codes, one-based current
// stage). Each model's record adds its own fields; the binding's family-E operations work on this.
#include <array>
#include <cstdint>
#include <vector>

#include "records/DpiStage.h"
#include "records/FireMacroEntry.h"
#include "records/KeySlot.h"
#include "records/MacroList.h"
#include "records/RapidFireSlot.h"

struct FamilyEConfig {
    static constexpr int kStageSlots = 7;
    static constexpr int kMaxFireMacros = 10;  // slots of the plain variant; the others have fewer

    explicit FamilyEConfig(int profiles = 3) : keyLists(static_cast<size_t>(profiles)) {}

    uint8_t fireMacroVisible = 0;  // third argument of the device open
    int macroUsesFolders = 0;
    int currentProfile = 0;
    std::vector<std::vector<KeySlot>> keyLists;  // one list per profile, in key order
    int stageCount = 1;                          // 1 to 7
    int currentStage = 1;                        // one-based
    std::vector<DpiStage> stages;                // at most 7
    int reportRate = 0;                          // 0 to 3
    int lightAll = 1;                            // 1 all lights, 0 half
    int lightingMode = 0;
    int lightingSpeed = 0;
    std::array<RapidFireSlot, 3> rapidFire{};
    std::array<uint8_t, 3> continuousShown{};
    MacroList macros;
    std::vector<FireMacroEntry> fireMacros;  // indexed by device slot; failed reads are marked unread
};
