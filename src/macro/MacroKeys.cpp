#include "macro/MacroKeys.h"

#include <array>
#include <cstdio>

namespace {

struct BuiltInKey {
    uint32_t vk;
    int code;
    const char* name;
};

// Keyboard usage codes of the keys every layout has in the same place.
constexpr std::array<BuiltInKey, 20> kOtherKeys{{
    {0x0D, 0x28, "Enter"},  {0x1B, 0x29, "Esc"},     {0x08, 0x2A, "Backspace"}, {0x09, 0x2B, "Tab"},
    {0x20, 0x2C, "Space"},  {0x2D, 0x49, "Insert"},  {0x24, 0x4A, "Home"},      {0x21, 0x4B, "Page Up"},
    {0x2E, 0x4C, "Delete"}, {0x23, 0x4D, "End"},     {0x22, 0x4E, "Page Down"}, {0x27, 0x4F, "Right"},
    {0x25, 0x50, "Left"},   {0x28, 0x51, "Down"},    {0x26, 0x52, "Up"},        {0x14, 0x39, "Caps Lock"},
    {0xA2, 0x81, "Ctrl"},   {0xA0, 0x82, "Shift"},   {0xA4, 0x83, "Alt"},       {0x5B, 0x84, "Win"},
}};

int BuiltInCode(uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z') return 0x04 + static_cast<int>(vk - 'A');
    if (vk >= '1' && vk <= '9') return 0x1E + static_cast<int>(vk - '1');
    if (vk == '0') return 0x27;
    if (vk >= 0x70 && vk <= 0x7B) return 0x3A + static_cast<int>(vk - 0x70);  // F1-F12
    for (const auto& k : kOtherKeys)
        if (k.vk == vk) return k.code;
    return 0;
}

std::string BuiltInName(int code) {
    if (code >= 0x04 && code <= 0x1D) return std::string(1, static_cast<char>('A' + code - 0x04));
    if (code >= 0x1E && code <= 0x26) return std::string(1, static_cast<char>('1' + code - 0x1E));
    if (code == 0x27) return "0";
    if (code >= 0x3A && code <= 0x45) return "F" + std::to_string(code - 0x3A + 1);
    for (const auto& k : kOtherKeys)
        if (k.code == code) return k.name;
    return {};
}

MacroKeyTable& Installed() {
    static MacroKeyTable table;
    return table;
}

const MacroKeyTable& BuiltIn() {
    static const MacroKeyTable table{BuiltInCode, BuiltInName};
    return table;
}

}  // namespace

void SetMacroKeyTable(MacroKeyTable table) { Installed() = std::move(table); }

const MacroKeyTable& GetMacroKeyTable() {
    const auto& t = Installed();
    return t.keyCode && t.keyName ? t : BuiltIn();
}

int MacroKeyCode(uint32_t vk) { return GetMacroKeyTable().keyCode(vk); }

std::string MacroKeyName(int code) { return GetMacroKeyTable().keyName(code); }
