#pragma once
// Key codes: one byte per keyboard key, the keyboard usage codes of the devices (0x04 to 0x9C, with
// the program's own 0x81 to 0x98 for the modifier keys), converted from Windows virtual keys and
// named for display. Under the French layout variant (LayoutRemap.h) letters and punctuation typed on
// an AZERTY layout are returned to their physical positions and named by their AZERTY caps.
#include <cstdint>
#include <string>

namespace assign {

// 0 when the virtual key has no key code.
uint8_t KeyCodeFromVirtualKey(unsigned virtualKey);

// Empty when the code has no name.
std::string KeyName(unsigned keyCode);

// Names of the keyboard's multimedia codes 0xA0 to 0xB7; empty outside that range.
std::string MultimediaKeyName(unsigned code);

}  // namespace assign
