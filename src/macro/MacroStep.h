#pragma once
// One row of the step list of the macro being edited: the event's opcode, its value and the display
// text (icon markup plus words) the list control draws.
#include <cstdint>
#include <string>

struct MacroStep {
    int tag = 0;
    int32_t value = 0;
    std::string text;  // UTF-8; may hold text references such as "%{054}"

    bool operator==(const MacroStep&) const = default;
};
