#pragma once
// The Crane's key switch modes: which keys change the mouse's behaviour while held, carried in byte
// 3 of their assignment codes and in the two combo-key blocks of the library. Pure data work on the
// record and the state of the page's eight tick boxes, so the rules are testable without a window.
#include <array>
#include <cstdint>

#include "records/CraneConfig.h"

namespace mouse {

struct KeySwitchBoxes {
    bool backLight = false;
    bool middle = false;
    bool cpi = false;
    bool cpiUp = false;
    bool cpiDown = false;
    bool back = false;
    bool forward = false;
    bool gun = false;  // shown only; the modes never read it

    bool operator==(const KeySwitchBoxes&) const = default;
};

class KeySwitchModes {
  public:
    using Block = std::array<uint8_t, 4>;
    static constexpr Block kActive{0x07, 0xD1, 0xF0, 0x18};
    static constexpr Block kBackLight{14, 0, 0, 0};
    static constexpr Block kOff{0, 0, 0, 0};

    static bool IsActive(const Block& block) { return block[0] == 7 && (block[1] & 0x87) == 0x81; }

    // The boxes as the user left them become the keys' byte 3 and the two blocks; the back-light
    // box and the back and forward boxes exclude each other, so `boxes` may come back with some
    // cleared. The key codes change in the record only; they reach the mouse with the next key write.
    static void Apply(CraneConfig& config, KeySwitchBoxes& boxes);

    // The boxes that the keys and blocks show ticked. A refresh only ever ticks boxes with it.
    static KeySwitchBoxes Shown(const CraneConfig& config);
};

}  // namespace mouse
