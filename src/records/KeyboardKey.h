#pragma once
// One entry of the keyboard's key tables: a key of the main table ("KB_%02X") or a Fn entry
// ("FN_1" to "FN_12").
#include <cstdint>
#include <string>

struct KeyboardKey {
    // Kinds of assignment.
    static constexpr int kKey = 0;
    static constexpr int kMacro = 1;
    static constexpr int kMultimedia = 2;
    static constexpr int kCombination = 4;

    int defaultCode = 0;  // from the default image; never changes after start-up
    int code = 0;         // current assignment
    int kind = kKey;
    std::string text;        // what the key does, as shown (UTF-8)
    std::string secondText;  // the default assignment's text
    // Kind kMacro: the keyboard macro the key plays, by name (the macro slot is 0xC0 + its place).
    std::u16string macroName;
    // Kind kCombination: high byte (modifier set 0x81-0x8F or a first key) and low byte (the key).
    uint16_t combination = 0;

    bool operator==(const KeyboardKey&) const = default;
};
