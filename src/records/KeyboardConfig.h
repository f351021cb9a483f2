#pragma once
// In-memory configuration of the Plover keyboard. Edits collect here until the user writes.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "records/DeviceModel.h"
#include "records/KeyboardKey.h"
#include "records/MacroList.h"

struct KeyboardConfig {
    static constexpr DeviceModel kModel = DeviceModel::Plover;
    static constexpr int kKeyTableSize = 216;
    static constexpr int kComboOffset = 152;
    static constexpr int kFnOffset = 184;
    static constexpr int kMaxCombos = 16;

    int currentProfile = 0;
    // Per profile: byte 0 lighting type, 1 speed, 2 brightness, 3 sync flag.
    std::array<std::array<uint8_t, 4>, 2> ledBlocks{};
    std::array<std::map<std::string, KeyboardKey>, 2> keyTables;  // "KB_%02X" -> key
    std::array<std::map<std::string, KeyboardKey>, 2> fnTables;   // "FN_1" ... "FN_12" -> key
    std::vector<uint16_t> keyboardCombos;                         // at most 16
    MacroList macros;
};
