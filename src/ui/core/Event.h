#pragma once
// Input and lifecycle events routed to a single control by the paint manager.
#include <cstdint>
#include <string>

#include "ui/core/Geometry.h"

namespace ui {

enum class EventType {
    MouseEnter,
    MouseLeave,
    MouseMove,
    ButtonDown,
    ButtonUp,
    DblClick,
    RButtonDown,
    RButtonUp,
    Wheel,
    KeyDown,
    KeyUp,
    Char,
    SetFocus,
    KillFocus,
    Timer,
};

enum Modifier : unsigned {
    kModCtrl = 1,
    kModShift = 2,
    kModAlt = 4,
    kModWin = 8,
};

struct UiEvent {
    EventType type{};
    Point pt{};
    uint32_t key = 0;        // virtual-key code for key events
    std::string text{};      // UTF-8 text for Char
    int wheelDelta = 0;      // multiples of 120, positive away from the user
    unsigned modifiers = 0;  // Modifier bits held
    uintptr_t timerId = 0;
    bool handled = false;
};

}  // namespace ui
