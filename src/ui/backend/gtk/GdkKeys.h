#pragma once
// Desktop key symbols to Windows virtual-key codes.
#include <cstdint>

namespace ui {

// `keyval` is the GDK key symbol, `hardwareKeycode` the X keycode (used to tell left from right
// and keypad keys apart where the symbol alone cannot). Returns 0 for keys without a code.
uint32_t VirtualKeyFromGdk(unsigned keyval, uint16_t hardwareKeycode);

}  // namespace ui
