// Desktop key symbols to Windows virtual keys, for the US and the French AZERTY layouts; and what a
// key pressed on each layout becomes in the key editors.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "AssignTestSupport.h"
#include "assign/KeyCodes.h"
#include "ui/backend/gtk/KeysymVirtualKeys.h"

using ui::VirtualKeyFromKeysym;

namespace {

struct KeyCase {
    unsigned keyval;      // what the event delivers
    unsigned baseKeyval;  // what the key types unmodified in that layout (0: unknown)
    uint16_t keycode;     // X keycode: evdev + 8
    uint32_t vk;
};

void ExpectAll(const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases)
        EXPECT_EQ(VirtualKeyFromKeysym(c.keyval, c.baseKeyval, c.keycode), c.vk)
            << std::hex << "keyval " << c.keyval << " base " << c.baseKeyval << std::dec << " keycode "
            << c.keycode;
}

// The printing keys of the two layouts by position: unshifted symbol, shifted symbol, keycode.
struct PrintingKey {
    unsigned plain;
    unsigned shifted;
    uint16_t keycode;
    uint32_t vk;
    uint8_t positionCode;  // the key code of the position (US caps)
};

const std::vector<PrintingKey> kUsKeys = {
    {GDK_KEY_grave, GDK_KEY_asciitilde, 49, 0xC0, 0x35},
    {GDK_KEY_1, GDK_KEY_exclam, 10, 0x31, 0x1E},
    {GDK_KEY_2, GDK_KEY_at, 11, 0x32, 0x1F},
    {GDK_KEY_0, GDK_KEY_parenright, 19, 0x30, 0x27},
    {GDK_KEY_minus, GDK_KEY_underscore, 20, 0xBD, 0x2D},
    {GDK_KEY_equal, GDK_KEY_plus, 21, 0xBB, 0x2E},
    {GDK_KEY_q, GDK_KEY_Q, 24, 0x51, 0x14},
    {GDK_KEY_p, GDK_KEY_P, 33, 0x50, 0x13},
    {GDK_KEY_bracketleft, GDK_KEY_braceleft, 34, 0xDB, 0x2F},
    {GDK_KEY_bracketright, GDK_KEY_braceright, 35, 0xDD, 0x30},
    {GDK_KEY_a, GDK_KEY_A, 38, 0x41, 0x04},
    {GDK_KEY_semicolon, GDK_KEY_colon, 47, 0xBA, 0x33},
    {GDK_KEY_apostrophe, GDK_KEY_quotedbl, 48, 0xDE, 0x34},
    {GDK_KEY_backslash, GDK_KEY_bar, 51, 0xDC, 0x31},
    {GDK_KEY_z, GDK_KEY_Z, 52, 0x5A, 0x1D},
    {GDK_KEY_m, GDK_KEY_M, 58, 0x4D, 0x10},
    {GDK_KEY_comma, GDK_KEY_less, 59, 0xBC, 0x36},
    {GDK_KEY_period, GDK_KEY_greater, 60, 0xBE, 0x37},
    {GDK_KEY_slash, GDK_KEY_question, 61, 0xBF, 0x38},
};

// What the French layout reports for each key, as Windows does: letters by cap, the digit row as
// digits, punctuation with the layout's own OEM codes.
const std::vector<PrintingKey> kAzertyKeys = {
    {GDK_KEY_twosuperior, 0, 49, 0xDE, 0x35},
    {GDK_KEY_ampersand, GDK_KEY_1, 10, 0x31, 0x1E},
    {GDK_KEY_eacute, GDK_KEY_2, 11, 0x32, 0x1F},
    {GDK_KEY_minus, GDK_KEY_6, 15, 0x36, 0x23},
    {GDK_KEY_agrave, GDK_KEY_0, 19, 0x30, 0x27},
    {GDK_KEY_parenright, GDK_KEY_degree, 20, 0xDB, 0x2D},
    {GDK_KEY_equal, GDK_KEY_plus, 21, 0xBB, 0x2E},
    {GDK_KEY_a, GDK_KEY_A, 24, 0x41, 0x14},
    {GDK_KEY_z, GDK_KEY_Z, 25, 0x5A, 0x1A},
    {GDK_KEY_e, GDK_KEY_E, 26, 0x45, 0x08},
    {GDK_KEY_dead_circumflex, GDK_KEY_dead_diaeresis, 34, 0xDD, 0x2F},
    {GDK_KEY_dollar, GDK_KEY_sterling, 35, 0xBA, 0x30},
    {GDK_KEY_q, GDK_KEY_Q, 38, 0x51, 0x04},
    {GDK_KEY_m, GDK_KEY_M, 47, 0x4D, 0x33},
    {GDK_KEY_ugrave, GDK_KEY_percent, 48, 0xC0, 0x34},
    {GDK_KEY_asterisk, GDK_KEY_mu, 51, 0xDC, 0x31},
    {GDK_KEY_w, GDK_KEY_W, 52, 0x57, 0x1D},
    {GDK_KEY_comma, GDK_KEY_question, 58, 0xBC, 0x10},
    {GDK_KEY_semicolon, GDK_KEY_period, 59, 0xBE, 0x36},
    {GDK_KEY_colon, GDK_KEY_slash, 60, 0xBF, 0x37},
    {GDK_KEY_exclam, GDK_KEY_section, 61, 0xDF, 0x38},
};

std::vector<KeyCase> Presses(const std::vector<PrintingKey>& keys) {
    std::vector<KeyCase> cases;
    for (const PrintingKey& k : keys) {
        cases.push_back({k.plain, k.plain, k.keycode, k.vk});
        if (k.shifted) cases.push_back({k.shifted, k.plain, k.keycode, k.vk});  // Shift changes nothing
    }
    return cases;
}

}  // namespace

TEST(KeysymVirtualKeysTest, UsLayoutPrintingKeys) {
    ExpectAll(Presses(kUsKeys));
}

TEST(KeysymVirtualKeysTest, AzertyLayoutPrintingKeysAsWindowsReportsThem) {
    ExpectAll(Presses(kAzertyKeys));
    ExpectAll({
        {GDK_KEY_at, GDK_KEY_agrave, 19, 0x30},  // AltGr on the digit row is still the digit
        {GDK_KEY_less, GDK_KEY_less, 94, 0xE2},  // the ISO key left of W
        {GDK_KEY_greater, GDK_KEY_less, 94, 0xE2},
    });
}

TEST(KeysymVirtualKeysTest, WithoutTheBaseSymbolTheEventsSymbolAndPositionDecide) {
    ExpectAll({
        {GDK_KEY_percent, 0, 48, 0xC0},   // AZERTY shifted ù
        {GDK_KEY_section, 0, 61, 0xDF},   // AZERTY shifted !
        {GDK_KEY_question, 0, 58, 0xBC},  // AZERTY shifted ,
        {GDK_KEY_exclam, 0, 10, 0x31},    // US shifted 1: by position
        {GDK_KEY_A, 0, 24, 0x41},
    });
}

TEST(KeysymVirtualKeysTest, OtherScriptsAndNationalKeysReportTheirUsPosition) {
    ExpectAll({
        {GDK_KEY_Cyrillic_ef, GDK_KEY_Cyrillic_ef, 38, 0x41},
        {GDK_KEY_Cyrillic_IE, GDK_KEY_Cyrillic_ie, 40, 0x44},
        {GDK_KEY_Cyrillic_zhe, GDK_KEY_Cyrillic_zhe, 47, 0xBA},
        {GDK_KEY_Cyrillic_be, GDK_KEY_Cyrillic_be, 59, 0xBC},
        {GDK_KEY_Greek_alpha, GDK_KEY_Greek_alpha, 38, 0x41},
        {GDK_KEY_odiaeresis, GDK_KEY_odiaeresis, 47, 0xBA},
        {GDK_KEY_dead_acute, GDK_KEY_dead_acute, 21, 0xBB},
        {GDK_KEY_y, GDK_KEY_y, 52, 0x59},  // German Y sits where US has Z: named by its cap
    });
}

TEST(KeysymVirtualKeysTest, SymbolsWithoutPositionFallBackToTheUsLayout) {
    ExpectAll({
        {GDK_KEY_a, 0, 0, 0x41},
        {GDK_KEY_Z, 0, 0, 0x5A},
        {GDK_KEY_5, 0, 0, 0x35},
        {GDK_KEY_exclam, 0, 0, 0x31},
        {GDK_KEY_parenright, 0, 0, 0x30},
        {GDK_KEY_colon, 0, 0, 0xBA},
        {GDK_KEY_less, 0, 0, 0xBC},
        {GDK_KEY_eacute, 0, 0, 0},
        {GDK_KEY_VoidSymbol, 0, 0, 0},
        {0, 0, 0, 0},
        {0x12345, 0, 200, 0},
    });
}

TEST(KeysymVirtualKeysTest, FunctionNavigationAndLockKeys) {
    std::vector<KeyCase> cases;
    for (unsigned i = 0; i < 24; ++i) cases.push_back({GDK_KEY_F1 + i, 0, 0, 0x70 + i});
    const std::vector<KeyCase> more = {
        {GDK_KEY_F25, 0, 0, 0},
        {GDK_KEY_Escape, 0, 9, 0x1B},
        {GDK_KEY_Return, 0, 36, 0x0D},
        {GDK_KEY_BackSpace, 0, 22, 0x08},
        {GDK_KEY_Tab, 0, 23, 0x09},
        {GDK_KEY_ISO_Left_Tab, 0, 23, 0x09},
        {GDK_KEY_space, 0, 65, 0x20},
        {GDK_KEY_Caps_Lock, 0, 66, 0x14},
        {GDK_KEY_Print, 0, 107, 0x2C},
        {GDK_KEY_Sys_Req, 0, 107, 0x2C},
        {GDK_KEY_Scroll_Lock, 0, 78, 0x91},
        {GDK_KEY_Pause, 0, 127, 0x13},
        {GDK_KEY_Break, 0, 127, 0x03},
        {GDK_KEY_Insert, 0, 118, 0x2D},
        {GDK_KEY_Home, 0, 110, 0x24},
        {GDK_KEY_Page_Up, 0, 112, 0x21},
        {GDK_KEY_Delete, 0, 119, 0x2E},
        {GDK_KEY_End, 0, 115, 0x23},
        {GDK_KEY_Page_Down, 0, 117, 0x22},
        {GDK_KEY_Right, 0, 114, 0x27},
        {GDK_KEY_Left, 0, 113, 0x25},
        {GDK_KEY_Down, 0, 116, 0x28},
        {GDK_KEY_Up, 0, 111, 0x26},
        {GDK_KEY_Num_Lock, 0, 77, 0x90},
        {GDK_KEY_Menu, 0, 135, 0x5D},
        {GDK_KEY_Help, 0, 146, 0x2F},
        {GDK_KEY_Select, 0, 0, 0x29},
        {GDK_KEY_Clear, 0, 0, 0x0C},
    };
    cases.insert(cases.end(), more.begin(), more.end());
    ExpectAll(cases);
}

TEST(KeysymVirtualKeysTest, NumericPadWithAndWithoutNumLock) {
    std::vector<KeyCase> cases;
    const uint16_t padKeycodes[] = {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};  // pad 0 to 9
    const unsigned navigation[] = {
        GDK_KEY_KP_Insert, GDK_KEY_KP_End,   GDK_KEY_KP_Down, GDK_KEY_KP_Page_Down, GDK_KEY_KP_Left,
        GDK_KEY_KP_Begin,  GDK_KEY_KP_Right, GDK_KEY_KP_Home, GDK_KEY_KP_Up,        GDK_KEY_KP_Page_Up};
    const uint32_t navigationVks[] = {0x2D, 0x23, 0x28, 0x22, 0x25, 0x0C, 0x27, 0x24, 0x26, 0x21};
    for (unsigned i = 0; i < 10; ++i) {
        cases.push_back({GDK_KEY_KP_0 + i, navigation[i], padKeycodes[i], 0x60 + i});
        cases.push_back({navigation[i], navigation[i], padKeycodes[i], navigationVks[i]});
    }
    const std::vector<KeyCase> more = {
        {GDK_KEY_KP_Decimal, GDK_KEY_KP_Delete, 91, 0x6E},
        {GDK_KEY_KP_Delete, GDK_KEY_KP_Delete, 91, 0x2E},
        {GDK_KEY_KP_Separator, GDK_KEY_KP_Delete, 91, 0x6E},  // comma layouts type , on the decimal key
        {GDK_KEY_KP_Separator, GDK_KEY_KP_Separator, 129, 0x6C},
        {GDK_KEY_KP_Divide, 0, 106, 0x6F},
        {GDK_KEY_KP_Multiply, 0, 63, 0x6A},
        {GDK_KEY_KP_Subtract, 0, 82, 0x6D},
        {GDK_KEY_KP_Add, 0, 86, 0x6B},
        {GDK_KEY_KP_Enter, 0, 104, 0x0D},
    };
    cases.insert(cases.end(), more.begin(), more.end());
    ExpectAll(cases);
}

TEST(KeysymVirtualKeysTest, ModifiersBySide) {
    ExpectAll({
        {GDK_KEY_Shift_L, 0, 50, 0xA0},
        {GDK_KEY_Shift_R, 0, 62, 0xA1},
        {GDK_KEY_Control_L, 0, 37, 0xA2},
        {GDK_KEY_Control_R, 0, 105, 0xA3},
        {GDK_KEY_Alt_L, 0, 64, 0xA4},
        {GDK_KEY_Meta_L, 0, 64, 0xA4},
        {GDK_KEY_Alt_R, 0, 108, 0xA5},
        {GDK_KEY_ISO_Level3_Shift, 0, 108, 0xA5},  // AltGr
        {GDK_KEY_Super_L, 0, 133, 0x5B},
        {GDK_KEY_Super_R, 0, 134, 0x5C},
    });
}

TEST(KeysymVirtualKeysTest, MediaAndBrowserKeys) {
    ExpectAll({
        {GDK_KEY_AudioNext, 0, 171, 0xB0},
        {GDK_KEY_AudioPrev, 0, 173, 0xB1},
        {GDK_KEY_AudioStop, 0, 174, 0xB2},
        {GDK_KEY_AudioPlay, 0, 172, 0xB3},
        {GDK_KEY_AudioPause, 0, 209, 0xB3},
        {GDK_KEY_AudioMute, 0, 121, 0xAD},
        {GDK_KEY_AudioLowerVolume, 0, 122, 0xAE},
        {GDK_KEY_AudioRaiseVolume, 0, 123, 0xAF},
        {GDK_KEY_Mail, 0, 163, 0xB4},
        {GDK_KEY_AudioMedia, 0, 234, 0xB5},
        {GDK_KEY_MyComputer, 0, 165, 0xB6},
        {GDK_KEY_Calculator, 0, 148, 0xB7},
        {GDK_KEY_Search, 0, 225, 0xAA},
        {GDK_KEY_HomePage, 0, 180, 0xAC},
        {GDK_KEY_Back, 0, 166, 0xA6},
        {GDK_KEY_Forward, 0, 167, 0xA7},
        {GDK_KEY_Stop, 0, 136, 0xA9},
        {GDK_KEY_Refresh, 0, 181, 0xA8},
        {GDK_KEY_Favorites, 0, 164, 0xAB},
        {GDK_KEY_Sleep, 0, 150, 0x5F},
    });
}

// A key pressed in a key editor ends as the key code of its position on the keyboard: the US layout
// directly, the AZERTY layout through the French variant of the key table.
TEST(KeysymVirtualKeysTest, KeysReachTheDeviceAsTheirPositionOnBothLayouts) {
    TestTexts texts;
    struct Layout {
        const char* language;
        const std::vector<PrintingKey>* keys;
    };
    for (const Layout& layout : {Layout{"English", &kUsKeys}, Layout{"French", &kAzertyKeys}}) {
        UseLanguage(layout.language);
        for (const PrintingKey& k : *layout.keys) {
            const uint32_t vk = VirtualKeyFromKeysym(k.plain, k.plain, k.keycode);
            EXPECT_EQ(assign::KeyCodeFromVirtualKey(vk), k.positionCode)
                << layout.language << " keycode " << k.keycode << " vk " << std::hex << vk;
        }
    }
}
