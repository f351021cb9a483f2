#pragma once
// One key of the keyboard's key tables.
#include <string>

struct MacroEntry;

struct KeyboardKey {
    int defaultCode = 0;  // from the default image; never changes after start-up
    int code = 0;         // current assignment
    int kind = 0;         // 0 plain key, 1 keyboard macro, 2 multimedia key, 4 combination
    std::u16string text;
    std::u16string secondText;
    const MacroEntry* macro = nullptr;  // the keyboard macro of a kind-1 key; owned by the macro list
};
