#include "assign/KeyCodes.h"

#include <array>
#include <string_view>
#include <utility>

#include "assign/LayoutRemap.h"

namespace assign {
namespace {

constexpr std::array<uint8_t, 256> kCodeByVirtualKey = [] {
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 26; ++i) t[0x41 + i] = static_cast<uint8_t>(0x04 + i);  // A to Z
    for (int i = 0; i < 9; ++i) t[0x31 + i] = static_cast<uint8_t>(0x1E + i);   // 1 to 9
    t[0x30] = 0x27;
    t[0x0D] = 0x28;
    t[0x1B] = 0x29;
    t[0x08] = 0x2A;
    t[0x09] = 0x2B;
    t[0x20] = 0x2C;
    t[0xBD] = 0x2D;
    t[0xBB] = 0x2E;
    t[0xDB] = 0x2F;
    t[0xDD] = 0x30;
    t[0xDC] = 0x31;
    t[0xBA] = 0x33;
    t[0xDE] = 0x34;
    t[0xC0] = 0x35;
    t[0xBC] = 0x36;
    t[0xBE] = 0x37;
    t[0xBF] = 0x38;
    t[0x14] = 0x39;
    for (int i = 0; i < 12; ++i) t[0x70 + i] = static_cast<uint8_t>(0x3A + i);  // F1 to F12
    t[0x2C] = 0x46;
    t[0x91] = 0x47;
    t[0x13] = 0x48;
    t[0x2D] = 0x49;
    t[0x24] = 0x4A;
    t[0x21] = 0x4B;
    t[0x2E] = 0x4C;
    t[0x23] = 0x4D;
    t[0x22] = 0x4E;
    t[0x27] = 0x4F;
    t[0x25] = 0x50;
    t[0x28] = 0x51;
    t[0x26] = 0x52;
    t[0x90] = 0x53;
    t[0x6F] = 0x54;
    t[0x6A] = 0x55;
    t[0x6D] = 0x56;
    t[0x6B] = 0x57;
    t[0x6C] = 0x58;
    for (int i = 0; i < 9; ++i) t[0x61 + i] = static_cast<uint8_t>(0x59 + i);  // numeric pad 1 to 9
    t[0x60] = 0x62;
    t[0x6E] = 0x63;
    t[0x5D] = 0x65;
    for (int i = 0; i < 12; ++i) t[0x7C + i] = static_cast<uint8_t>(0x68 + i);  // F13 to F24
    t[0x2F] = 0x75;
    t[0x29] = 0x77;
    t[0x0C] = 0x9C;
    t[0xA2] = 0x81;
    t[0xA0] = 0x82;
    t[0x5B] = 0x88;
    t[0xA3] = 0x91;
    t[0xA1] = 0x92;
    t[0x5C] = 0x98;
    // Ctrl without side counts as the right one; Alt without side has no modifier code of its own.
    t[0x11] = 0x91;
    t[0x12] = 0xE2;
    t[0xB0] = 0xC0;
    t[0xB1] = 0xC1;
    t[0xB2] = 0xC2;
    t[0xB3] = 0xC3;
    t[0xAD] = 0xC4;
    t[0xAF] = 0xC5;
    t[0xAE] = 0xC6;
    t[0xB4] = 0xC7;
    t[0xAA] = 0xC8;
    t[0xAC] = 0xC9;
    t[0xA6] = 0xCA;
    t[0xA7] = 0xCB;
    t[0xA9] = 0xCC;
    t[0xA8] = 0xCD;
    t[0xAB] = 0xCE;
    t[0xB5] = 0xD1;
    return t;
}();

// Virtual keys that the AZERTY layout reports from other positions than the US layout, with the
// code of the position they come from.
constexpr std::pair<uint8_t, uint8_t> kAzertyCodes[] = {
    {0x41, 0x14},
    {0x51, 0x04},
    {0x57, 0x1D},
    {0x5A, 0x1A},
    {0x4D, 0x33},
    {0xBC, 0x10},
    {0xBE, 0x36},
    {0xBF, 0x37},
    {0xC0, 0x34},
    {0xDF, 0x38},
    // The keys ², ), ^ and $. Left to the US table they would land on the keys ù, [, ] and M:
    // the device would type another key, and two keys would share one code.
    {0xDE, 0x35},
    {0xDB, 0x2D},
    {0xDD, 0x2F},
    {0xBA, 0x30},
};

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kDigits = "1234567890";

constexpr std::array<std::string_view, 256> kNames = [] {
    std::array<std::string_view, 256> n{};
    for (size_t i = 0; i < 26; ++i) n[0x04 + i] = kLetters.substr(i, 1);
    for (size_t i = 0; i < 10; ++i) n[0x1E + i] = kDigits.substr(i, 1);
    constexpr std::string_view kFunctionKeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                                  "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                                  "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    for (size_t i = 0; i < 12; ++i) n[0x3A + i] = kFunctionKeys[i];
    for (size_t i = 0; i < 12; ++i) n[0x68 + i] = kFunctionKeys[12 + i];
    constexpr std::string_view kPadDigits[] = {"1 (numeric pad)", "2 (numeric pad)", "3 (numeric pad)",
                                               "4 (numeric pad)", "5 (numeric pad)", "6 (numeric pad)",
                                               "7 (numeric pad)", "8 (numeric pad)", "9 (numeric pad)"};
    for (size_t i = 0; i < 9; ++i) n[0x59 + i] = kPadDigits[i];
    n[0x28] = "Enter";
    n[0x29] = "Esc";
    n[0x2A] = "Backspace";
    n[0x2B] = "Tab";
    n[0x2C] = "Space bar";
    n[0x2D] = "OEM_Minus";
    n[0x2E] = "OEM_Plus";
    n[0x2F] = "OEM_4";
    n[0x30] = "OEM_6";
    n[0x31] = "OEM_5";
    n[0x33] = "OEM_1";
    n[0x34] = "OEM_7";
    n[0x35] = "OEM_3";
    n[0x36] = "OEM_Comma";
    n[0x37] = "OEM_Period";
    n[0x38] = "OEM_2";
    n[0x39] = "Caps Lock";
    n[0x46] = "Print Screen";
    n[0x47] = "Scroll Lock";
    n[0x48] = "Pause";
    n[0x49] = "Insert";
    n[0x4A] = "Home";
    n[0x4B] = "Page Up";
    n[0x4C] = "Delete";
    n[0x4D] = "End";
    n[0x4E] = "Page Down";
    n[0x4F] = "Right Arrow";
    n[0x50] = "Left Arrow";
    n[0x51] = "Down Arrow";
    n[0x52] = "Up Arrow";
    n[0x53] = "Num Lock";
    n[0x54] = "Divide (numeric pad)";
    n[0x55] = "Multiply (numeric pad)";
    n[0x56] = "Subtract (numeric pad)";
    n[0x57] = "Add (numeric pad)";
    n[0x58] = "Separator (numeric pad)";
    n[0x62] = "0 (numeric pad)";
    n[0x63] = "Decimal (numeric pad)";
    n[0x65] = "Applications";
    n[0x75] = "Help";
    n[0x77] = "Select";
    n[0x7E] = "UKB_Fn";
    n[0x7F] = "UKB_LED";
    n[0x81] = "Left Ctrl";
    n[0x82] = "Left Shift";
    n[0x84] = "Left Alt";
    n[0x88] = "Win";
    n[0x91] = "Right Ctrl";
    n[0x92] = "Right Shift";
    n[0x94] = "Right Alt";
    n[0x98] = "Win";
    n[0x9C] = "Clear";
    return n;
}();

// Names of the positions whose AZERTY key differs from the US one: the letter, or the name of the
// virtual key the AZERTY layout reports there.
constexpr std::pair<uint8_t, std::string_view> kAzertyNames[] = {
    {0x04, "Q"},         {0x14, "A"},     {0x1A, "Z"},          {0x1D, "W"},     {0x33, "M"},
    {0x10, "OEM_COMMA"}, {0x34, "OEM_3"}, {0x36, "OEM_Period"}, {0x37, "OEM_2"}, {0x38, "OEM_8"},
    {0x35, "OEM_7"},     {0x2D, "OEM_4"}, {0x2F, "OEM_6"},      {0x30, "OEM_1"},
};

constexpr std::string_view kMultimediaNames[] = {
    "Scan Next Track",
    "Scan Previous Track",
    "Stop",
    "Play/Pause ",
    "Mute",
    "Bass Boost",
    "Loudness",
    "Volume Increment",
    "Volume Decrement",
    "Bass Increment",
    "Bass Decrement",
    "Treble Increment",
    "Treble Decrement",
    "Media Select",
    "Mail",
    "Calculator",
    "My Computer",
    "WWW Search ",
    "WWW Home",
    "WWW Back",
    "WWW Forward",
    "WWW Stop",
    "WWW Refresh",
    "WWW Favorites",
};
constexpr unsigned kFirstMultimediaCode = 0xA0;

}  // namespace

uint8_t KeyCodeFromVirtualKey(unsigned virtualKey) {
    if (virtualKey >= kCodeByVirtualKey.size()) return 0;
    if (LayoutRemapActive()) {
        for (const auto& [vk, code] : kAzertyCodes)
            if (vk == virtualKey) return code;
    }
    return kCodeByVirtualKey[virtualKey];
}

std::string KeyName(unsigned keyCode) {
    if (keyCode >= kNames.size()) return {};
    if (LayoutRemapActive()) {
        for (const auto& [code, name] : kAzertyNames)
            if (code == keyCode) return std::string(name);
    }
    return std::string(kNames[keyCode]);
}

std::string MultimediaKeyName(unsigned code) {
    if (code < kFirstMultimediaCode || code - kFirstMultimediaCode >= std::size(kMultimediaNames)) return {};
    return std::string(kMultimediaNames[code - kFirstMultimediaCode]);
}

}  // namespace assign
