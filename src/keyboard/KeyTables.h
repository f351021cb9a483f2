#pragma once
// The keyboard's key tables as data: built from the default image, filled from the keyboard's
// 216-byte key tables, turned back into them, and the macro slots and combination table that the
// kind-1 and kind-4 entries share. No windows and no device calls: the page and the key editor
// use these on the user-interface thread.
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "records/KeyboardConfig.h"
#include "records/MacroEntry.h"
#include "records/MacroList.h"

namespace keyboard {

using KeyTable = std::array<uint8_t, KeyboardConfig::kKeyTableSize>;

// "KB_%02X" of a key index, "FN_%d" of a Fn number (1 to 12).
std::string KeyEntryName(int index);
std::string FnEntryName(int number);

// Fills both profiles' tables from the default image; an image too short for them leaves the
// tables empty (no key can be edited).
void LoadDefaults(KeyboardConfig& config, std::span<const uint8_t> image);

// "Ctrl+Shift+A" for a modifier set (0x81-0x8F), "A+B" for two keys.
std::string CombinationName(uint16_t combination);

// What the keyboard answered for one read, before it reaches the page's record.
struct KeyboardRead {
    std::array<KeyTable, KeyboardConfig::kProfiles> tables{};
    std::array<std::array<uint8_t, 4>, KeyboardConfig::kProfiles> ledBlocks{};
    int profile = 0;
    std::map<int, MacroEntry> macroSlots;  // slot -> the macro the keyboard holds there
};

// Takes profile `profile`'s key table into the record. Fn entries whose byte equals their default
// keep what they hold. `slots` are the keyboard's macros by slot.
void TakeKeyTable(KeyboardConfig& config, int profile, const KeyTable& table,
                  const std::map<int, MacroEntry>& slots);

// The key table the keyboard takes for `profile`: key codes, the combinations, the Fn codes.
KeyTable BuildKeyTable(const KeyboardConfig& config, int profile);

// Renumbers the macro slots and the combination table from every entry of both profiles, in table
// order, and sets each kind-1 and kind-4 code to its place. A slot's macro takes its events from
// `macros` (the keyboard's macro list) when it is there, else keeps those it had.
void RebuildSlots(KeyboardConfig& config, const MacroList& macros);

// The entries of both profiles, main tables then Fn tables, in table order.
template <class Config, class F>
void ForEachEntry(Config& config, F&& f) {
    for (int p = 0; p < KeyboardConfig::kProfiles; ++p) {
        for (auto& [name, key] : config.keyTables[static_cast<size_t>(p)]) f(key);
        for (auto& [name, key] : config.fnTables[static_cast<size_t>(p)]) f(key);
    }
}

enum class AssignResult { Done, NoMacroSlot, NoCombinationSlot };

// Assignments of one entry of `config`; each rebuilds the slots. A refused one changes nothing.
void AssignKey(KeyboardConfig& config, KeyboardKey& key, int code, const MacroList& macros);
void AssignMultimedia(KeyboardConfig& config, KeyboardKey& key, int code, std::string text,
                      const MacroList& macros);
void ResetKey(KeyboardConfig& config, KeyboardKey& key, const MacroList& macros);
AssignResult AssignMacro(KeyboardConfig& config, KeyboardKey& key, const MacroEntry& macro,
                         const MacroList& macros);
AssignResult AssignCombination(KeyboardConfig& config, KeyboardKey& key, uint16_t combination,
                               const MacroList& macros);

}  // namespace keyboard
