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
    static constexpr int kProfiles = 2;
    static constexpr int kKeyTableSize = 216;
    static constexpr int kKeySlots = 152;  // bytes of the main table in the key table
    static constexpr int kComboOffset = 152;
    static constexpr int kFnOffset = 184;
    static constexpr int kFnKeys = 12;
    static constexpr int kMaxCombos = 16;
    static constexpr int kMaxMacros = 6;
    static constexpr int kMacroCodeBase = 0xC0;
    static constexpr int kComboCodeBase = 0xE0;
    static constexpr int kImageSize = 2048;
    // The default image: each profile's key codes, then its Fn codes.
    static constexpr std::array<int, kProfiles> kDefaultKeyOffset{80, 304};
    static constexpr std::array<int, kProfiles> kDefaultFnOffset{264, 488};
    // LED block bytes.
    static constexpr int kLedType = 0;
    static constexpr int kLedSpeed = 1;
    static constexpr int kLedBrightness = 2;
    static constexpr int kLedSync = 3;

    int currentProfile = 0;
    // Per profile: byte 0 lighting type, 1 speed, 2 brightness, 3 sync flag.
    std::array<std::array<uint8_t, 4>, kProfiles> ledBlocks{};
    std::array<std::map<std::string, KeyboardKey>, kProfiles> keyTables;  // "KB_%02X" -> key
    std::array<std::map<std::string, KeyboardKey>, kProfiles> fnTables;   // "FN_1" ... "FN_12" -> key
    // Both profiles' combinations, entry i played by code 0xE0 + i; at most 16.
    std::vector<uint16_t> keyboardCombos;
    // The macros the keys play, slot i by code 0xC0 + i; at most 6.
    MacroList macros;
};
