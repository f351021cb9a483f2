#pragma once
// How the macro pages turn a virtual key into a key code and name a key code. The key code tables
// install theirs at start-up; until then a small built-in table covers letters, digits and the
// common keys, so recording works on its own.
#include <cstdint>
#include <functional>
#include <string>

struct MacroKeyTable {
    // Key code of a virtual key; 0 when the key has none.
    std::function<int(uint32_t vk)> keyCode;
    // Name of a key code; empty when unknown.
    std::function<std::string(int code)> keyName;
};

void SetMacroKeyTable(MacroKeyTable table);
// The installed table, or the built-in one.
const MacroKeyTable& GetMacroKeyTable();
int MacroKeyCode(uint32_t vk);
std::string MacroKeyName(int code);
