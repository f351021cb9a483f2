#pragma once
// Fields the Heron and Heron-driver records share (three-byte assignment codes, zero-based current
// stage). The library holds the authoritative image; the record mirrors what the page shows.
#include <array>
#include <vector>

#include "records/DpiStage.h"
#include "records/KeySlot.h"

struct FamilyHConfig {
    static constexpr int kStageSlots = 7;

    int currentProfile = 0;                        // 0 or 1
    std::array<std::vector<KeySlot>, 2> keyLists;  // profiles 1 and 2
    int stageCount = 2;                            // 2 to 7
    int currentStage = 0;                          // zero-based
    std::vector<DpiStage> stages;                  // at most 7
    int fireCount = 0;                             // shot count minus 1; 255 means continuous
    int fireTime = 0;                              // 0 to 255
    int middlePress = 0;
    int cpiPress = 0;
    int gunPress = 0;
    int macroUsesFolders = 0;  // the macro view the page shows: 1 the folder tree, 0 the file list
};
