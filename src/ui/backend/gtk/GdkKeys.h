#pragma once
// Key events of the desktop to Windows virtual-key codes (see KeysymVirtualKeys.h for the rules).
#include <cstdint>

namespace ui {

// `keyval` is the event's key symbol, `hardwareKeycode` its X keycode. Looks up, in the display's
// keymap, what the key types without modifiers in the layout that produced `keyval`, then maps.
// Returns 0 for keys without a code.
uint32_t VirtualKeyFromGdk(unsigned keyval, uint16_t hardwareKeycode);

}  // namespace ui
