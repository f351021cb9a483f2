#pragma once
// Desktop key symbols to the Windows virtual-key codes the rest of the program speaks. Pure: no
// display is needed, so tests call it directly; GdkKeys.h feeds it from real key events.
//
// Windows names most keys by what they are (F5, Home, numeric pad 7 with Num Lock on, End with it
// off) and that needs only the symbol of the event. Printing keys depend on the layout, and Windows
// reports them in a mixed way that the symbol alone cannot reproduce:
//  - letters by their cap: the AZERTY key left of Z reports VK_A, the one right of L reports VK_M;
//    non-Latin layouts (Russian, Greek, ...) report the US letter of the key's position;
//  - the digit row always as VK_0 to VK_9, although AZERTY types & é " ' ( - è _ ç à there unshifted;
//  - punctuation with the layout's own OEM codes: on AZERTY ù is VK_OEM_3, ! is VK_OEM_8, ; is
//    VK_OEM_PERIOD, $ is VK_OEM_1; on US-like layouts the symbol's US key.
// So the printing keys are decided from the key's position (`hardwareKeycode`, the evdev code plus 8
// that X11 and Wayland both deliver) together with `baseKeyval`, the symbol the key types without
// modifiers in the active layout, which does not change with Shift or AltGr. Other layouts' national
// keys (ö, ø, ß, ...) report the US code of their position. `baseKeyval` 0 or an unknown keycode 0
// fall back to `keyval` alone.
#include <cstdint>

namespace ui {

// 0 for keys without a virtual key.
uint32_t VirtualKeyFromKeysym(unsigned keyval, unsigned baseKeyval, uint16_t hardwareKeycode);

}  // namespace ui
