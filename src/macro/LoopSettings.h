#pragma once
// Repeat settings of a macro. They are page state, not steps; each encoding writes the modes it has.
#include <cstdint>

enum class LoopMode : uint8_t { Count, Continuous, StopOnAnyKey, Stop, Continue };

// Heron and Heron driver only: what the mouse does when the macro ends.
enum class EndMode : uint8_t { Continue, Stop };

struct LoopSettings {
    LoopMode mode = LoopMode::Count;
    int count = 1;
    EndMode end = EndMode::Continue;

    bool operator==(const LoopSettings&) const = default;
};
