#include "ui/backend/gtk/KeysymVirtualKeys.h"

#include <gdk/gdkkeysyms.h>

#include <array>
#include <cstddef>

#include "ui/core/VirtualKeys.h"

namespace ui {
namespace {

// Virtual keys VirtualKeys.h does not name.
constexpr uint32_t kVkSelect = 0x29;
constexpr uint32_t kVkExecute = 0x2B;
constexpr uint32_t kVkHelp = 0x2F;
constexpr uint32_t kVkSleep = 0x5F;

// X keycodes (evdev + 8) of the printing keys.
constexpr uint16_t kKeycode1 = 10;  // 1 to 9, then 0 at 19
constexpr uint16_t kKeycode0 = 19;
constexpr uint16_t kKeycodeLessGreater = 94;  // the ISO key left of Z
constexpr uint16_t kKeycodeKeypadDecimal = 91;

struct KeysymKey {
    unsigned keysym;
    uint32_t vk;
};

// Keys Windows names by function, whatever the layout. The keypad keys come as the event delivers
// them: digits with Num Lock on, navigation with it off, as Windows reports them.
constexpr KeysymKey kFunctionKeys[] = {
    {GDK_KEY_BackSpace, kVkBack},
    {GDK_KEY_Tab, kVkTab},
    {GDK_KEY_ISO_Left_Tab, kVkTab},
    {GDK_KEY_Clear, kVkClear},
    {GDK_KEY_Return, kVkReturn},
    {GDK_KEY_Pause, kVkPause},
    {GDK_KEY_Break, kVkCancel},
    {GDK_KEY_Caps_Lock, kVkCapital},
    {GDK_KEY_Shift_Lock, kVkCapital},
    {GDK_KEY_Escape, kVkEscape},
    {GDK_KEY_space, kVkSpace},
    {GDK_KEY_Page_Up, kVkPrior},
    {GDK_KEY_Page_Down, kVkNext},
    {GDK_KEY_End, kVkEnd},
    {GDK_KEY_Home, kVkHome},
    {GDK_KEY_Left, kVkLeft},
    {GDK_KEY_Up, kVkUp},
    {GDK_KEY_Right, kVkRight},
    {GDK_KEY_Down, kVkDown},
    {GDK_KEY_Select, kVkSelect},
    {GDK_KEY_Execute, kVkExecute},
    {GDK_KEY_Print, kVkSnapshot},
    {GDK_KEY_Sys_Req, kVkSnapshot},
    {GDK_KEY_Insert, kVkInsert},
    {GDK_KEY_Delete, kVkDelete},
    {GDK_KEY_Help, kVkHelp},
    {GDK_KEY_Menu, kVkApps},
    {GDK_KEY_Num_Lock, kVkNumLock},
    {GDK_KEY_Scroll_Lock, kVkScroll},
    // Modifiers by side, as the low-level hooks of Windows report them.
    {GDK_KEY_Shift_L, kVkLShift},
    {GDK_KEY_Shift_R, kVkRShift},
    {GDK_KEY_Control_L, kVkLControl},
    {GDK_KEY_Control_R, kVkRControl},
    {GDK_KEY_Alt_L, kVkLMenu},
    {GDK_KEY_Meta_L, kVkLMenu},
    {GDK_KEY_Alt_R, kVkRMenu},
    {GDK_KEY_Meta_R, kVkRMenu},
    {GDK_KEY_ISO_Level3_Shift, kVkRMenu},  // AltGr
    {GDK_KEY_Mode_switch, kVkRMenu},
    {GDK_KEY_Super_L, kVkLWin},
    {GDK_KEY_Super_R, kVkRWin},
    // Numeric pad, Num Lock on.
    {GDK_KEY_KP_0, kVkNumpad0},
    {GDK_KEY_KP_1, kVkNumpad0 + 1},
    {GDK_KEY_KP_2, kVkNumpad0 + 2},
    {GDK_KEY_KP_3, kVkNumpad0 + 3},
    {GDK_KEY_KP_4, kVkNumpad0 + 4},
    {GDK_KEY_KP_5, kVkNumpad0 + 5},
    {GDK_KEY_KP_6, kVkNumpad0 + 6},
    {GDK_KEY_KP_7, kVkNumpad0 + 7},
    {GDK_KEY_KP_8, kVkNumpad0 + 8},
    {GDK_KEY_KP_9, kVkNumpad0 + 9},
    {GDK_KEY_KP_Decimal, kVkDecimal},
    // Numeric pad, Num Lock off: the navigation keys printed under the digits; 5 is Clear.
    {GDK_KEY_KP_Insert, kVkInsert},
    {GDK_KEY_KP_End, kVkEnd},
    {GDK_KEY_KP_Down, kVkDown},
    {GDK_KEY_KP_Page_Down, kVkNext},
    {GDK_KEY_KP_Left, kVkLeft},
    {GDK_KEY_KP_Begin, kVkClear},
    {GDK_KEY_KP_Right, kVkRight},
    {GDK_KEY_KP_Home, kVkHome},
    {GDK_KEY_KP_Up, kVkUp},
    {GDK_KEY_KP_Page_Up, kVkPrior},
    {GDK_KEY_KP_Delete, kVkDelete},
    // Numeric pad, either state.
    {GDK_KEY_KP_Divide, kVkDivide},
    {GDK_KEY_KP_Multiply, kVkMultiply},
    {GDK_KEY_KP_Subtract, kVkSubtract},
    {GDK_KEY_KP_Add, kVkAdd},
    {GDK_KEY_KP_Enter, kVkReturn},
    // Media and browser keys.
    {GDK_KEY_AudioNext, kVkMediaNextTrack},
    {GDK_KEY_AudioPrev, kVkMediaPrevTrack},
    {GDK_KEY_AudioStop, kVkMediaStop},
    {GDK_KEY_AudioPlay, kVkMediaPlayPause},
    {GDK_KEY_AudioPause, kVkMediaPlayPause},
    {GDK_KEY_AudioMute, kVkVolumeMute},
    {GDK_KEY_AudioLowerVolume, kVkVolumeDown},
    {GDK_KEY_AudioRaiseVolume, kVkVolumeUp},
    {GDK_KEY_AudioMedia, kVkLaunchMediaSelect},
    {GDK_KEY_Mail, kVkLaunchMail},
    {GDK_KEY_MyComputer, kVkLaunchApp1},
    {GDK_KEY_Calculator, kVkLaunchApp2},
    {GDK_KEY_Search, kVkBrowserSearch},
    {GDK_KEY_HomePage, kVkBrowserHome},
    {GDK_KEY_Back, kVkBrowserBack},
    {GDK_KEY_Forward, kVkBrowserForward},
    {GDK_KEY_Stop, kVkBrowserStop},
    {GDK_KEY_Refresh, kVkBrowserRefresh},
    {GDK_KEY_Favorites, kVkBrowserFavorites},
    {GDK_KEY_Sleep, kVkSleep},
};

// Punctuation of the US layout, unshifted and shifted, by symbol. Also right for layouts that move
// these symbols to other keys (Dvorak).
constexpr KeysymKey kUsPunctuation[] = {
    {GDK_KEY_minus, kVkOemMinus},    {GDK_KEY_underscore, kVkOemMinus}, {GDK_KEY_equal, kVkOemPlus},
    {GDK_KEY_plus, kVkOemPlus},      {GDK_KEY_bracketleft, kVkOem4},    {GDK_KEY_braceleft, kVkOem4},
    {GDK_KEY_bracketright, kVkOem6}, {GDK_KEY_braceright, kVkOem6},     {GDK_KEY_backslash, kVkOem5},
    {GDK_KEY_bar, kVkOem5},          {GDK_KEY_semicolon, kVkOem1},      {GDK_KEY_colon, kVkOem1},
    {GDK_KEY_apostrophe, kVkOem7},   {GDK_KEY_quotedbl, kVkOem7},       {GDK_KEY_grave, kVkOem3},
    {GDK_KEY_asciitilde, kVkOem3},   {GDK_KEY_comma, kVkOemComma},      {GDK_KEY_less, kVkOemComma},
    {GDK_KEY_period, kVkOemPeriod},  {GDK_KEY_greater, kVkOemPeriod},   {GDK_KEY_slash, kVkOem2},
    {GDK_KEY_question, kVkOem2},
};

// The shifted digit row of the US layout; used only when the key's position is unknown.
constexpr KeysymKey kUsShiftedDigits[] = {
    {GDK_KEY_exclam, kVk0 + 1},    {GDK_KEY_at, kVk0 + 2},       {GDK_KEY_numbersign, kVk0 + 3},
    {GDK_KEY_dollar, kVk0 + 4},    {GDK_KEY_percent, kVk0 + 5},  {GDK_KEY_asciicircum, kVk0 + 6},
    {GDK_KEY_ampersand, kVk0 + 7}, {GDK_KEY_asterisk, kVk0 + 8}, {GDK_KEY_parenleft, kVk0 + 9},
    {GDK_KEY_parenright, kVk0},
};

struct PositionedSymbol {
    uint16_t keycode;
    unsigned keysym;
    uint32_t vk;
};

// French AZERTY punctuation, recognised by a symbol the layout types on that key (unshifted or
// shifted). These pairs occur on no US-like layout, so they identify the layout as well.
constexpr PositionedSymbol kAzertyPunctuation[] = {
    {49, GDK_KEY_twosuperior, kVkOem7},
    {20, GDK_KEY_parenright, kVkOem4},
    {20, GDK_KEY_degree, kVkOem4},
    {34, GDK_KEY_dead_circumflex, kVkOem6},
    {34, GDK_KEY_dead_diaeresis, kVkOem6},
    {35, GDK_KEY_dollar, kVkOem1},
    {35, GDK_KEY_sterling, kVkOem1},
    {48, GDK_KEY_ugrave, kVkOem3},
    {48, GDK_KEY_percent, kVkOem3},
    {51, GDK_KEY_asterisk, kVkOem5},
    {51, GDK_KEY_mu, kVkOem5},
    {58, GDK_KEY_comma, kVkOemComma},
    {58, GDK_KEY_question, kVkOemComma},
    {59, GDK_KEY_semicolon, kVkOemPeriod},
    {59, GDK_KEY_period, kVkOemPeriod},
    {60, GDK_KEY_colon, kVkOem2},
    {60, GDK_KEY_slash, kVkOem2},
    {61, GDK_KEY_exclam, kVkOem8},
    {61, GDK_KEY_section, kVkOem8},
};

// What Windows reports for each printing key position under the US layout: the answer for
// layouts whose symbol there means nothing above (Cyrillic letters, national letters, dead keys).
constexpr std::array<uint8_t, 64> kUsByPosition = [] {
    std::array<uint8_t, 64> t{};
    constexpr const char* kRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    constexpr uint16_t kRowStarts[] = {24, 38, 52};
    for (int row = 0; row < 3; ++row)
        for (int i = 0; kRows[row][i]; ++i) t[kRowStarts[row] + i] = static_cast<uint8_t>(kRows[row][i]);
    t[20] = kVkOemMinus;
    t[21] = kVkOemPlus;
    t[34] = kVkOem4;
    t[35] = kVkOem6;
    t[47] = kVkOem1;
    t[48] = kVkOem7;
    t[49] = kVkOem3;
    t[51] = kVkOem5;
    t[59] = kVkOemComma;
    t[60] = kVkOemPeriod;
    t[61] = kVkOem2;
    return t;
}();

template <std::size_t N>
uint32_t Find(const KeysymKey (&table)[N], unsigned keysym) {
    for (const KeysymKey& row : table)
        if (row.keysym == keysym) return row.vk;
    return 0;
}

uint32_t LatinLetter(unsigned keysym) {
    if (keysym >= GDK_KEY_a && keysym <= GDK_KEY_z) return kVkA + (keysym - GDK_KEY_a);
    if (keysym >= GDK_KEY_A && keysym <= GDK_KEY_Z) return kVkA + (keysym - GDK_KEY_A);
    return 0;
}

}  // namespace

uint32_t VirtualKeyFromKeysym(unsigned keyval, unsigned baseKeyval, uint16_t hardwareKeycode) {
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return kVkF1 + (keyval - GDK_KEY_F1);
    if (keyval == GDK_KEY_KP_Separator)  // the keypad's decimal key on comma layouts, else its own key
        return hardwareKeycode == kKeycodeKeypadDecimal ? kVkDecimal : kVkSeparator;
    if (uint32_t vk = Find(kFunctionKeys, keyval)) return vk;

    const unsigned symbol = baseKeyval ? baseKeyval : keyval;
    if (hardwareKeycode >= kKeycode1 && hardwareKeycode <= kKeycode0)
        return hardwareKeycode == kKeycode0 ? kVk0 : kVk0 + (hardwareKeycode - kKeycode1 + 1);
    if (hardwareKeycode == kKeycodeLessGreater) return kVkOem102;
    if (uint32_t vk = LatinLetter(symbol)) return vk;
    for (const PositionedSymbol& row : kAzertyPunctuation)
        if (row.keycode == hardwareKeycode && row.keysym == symbol) return row.vk;
    if (uint32_t vk = Find(kUsPunctuation, symbol)) return vk;
    if (hardwareKeycode < kUsByPosition.size() && kUsByPosition[hardwareKeycode])
        return kUsByPosition[hardwareKeycode];

    // Position unknown (synthetic events): the symbol of the US layout is the best guess.
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return kVk0 + (keyval - GDK_KEY_0);
    if (uint32_t vk = LatinLetter(keyval)) return vk;
    if (uint32_t vk = Find(kUsPunctuation, keyval)) return vk;
    return Find(kUsShiftedDigits, keyval);
}

}  // namespace ui
