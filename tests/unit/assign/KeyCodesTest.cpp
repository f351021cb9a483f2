// Virtual keys to key codes, key names and multimedia names, with and without the AZERTY variant.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "AssignTestSupport.h"
#include "assign/KeyCodes.h"

using assign::KeyCodeFromVirtualKey;
using assign::KeyName;
using assign::MultimediaKeyName;

namespace {

using CodePairs = std::vector<std::pair<unsigned, unsigned>>;

// The whole US table: ranges are expanded, single keys listed.
CodePairs UsTable() {
    CodePairs t;
    auto range = [&t](unsigned vk, unsigned code, unsigned count) {
        for (unsigned i = 0; i < count; ++i) t.emplace_back(vk + i, code + i);
    };
    range(0x41, 0x04, 26);  // A to Z
    range(0x31, 0x1E, 9);   // 1 to 9
    range(0x70, 0x3A, 12);  // F1 to F12
    range(0x61, 0x59, 9);   // numeric pad 1 to 9
    range(0x7C, 0x68, 12);  // F13 to F24
    const CodePairs singles = {
        {0x30, 0x27}, {0x0D, 0x28}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0xBD, 0x2D},
        {0xBB, 0x2E}, {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0xBA, 0x33}, {0xDE, 0x34}, {0xC0, 0x35},
        {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38}, {0x14, 0x39}, {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48},
        {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D}, {0x22, 0x4E}, {0x27, 0x4F},
        {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52}, {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56},
        {0x6B, 0x57}, {0x6C, 0x58}, {0x60, 0x62}, {0x6E, 0x63}, {0x5D, 0x65}, {0x2F, 0x75}, {0x29, 0x77},
        {0x0C, 0x9C}, {0xA2, 0x81}, {0xA0, 0x82}, {0x5B, 0x88}, {0xA3, 0x91}, {0xA1, 0x92}, {0x5C, 0x98},
        {0x11, 0x91}, {0x12, 0xE2}, {0xB0, 0xC0}, {0xB1, 0xC1}, {0xB2, 0xC2}, {0xB3, 0xC3}, {0xAD, 0xC4},
        {0xAF, 0xC5}, {0xAE, 0xC6}, {0xB4, 0xC7}, {0xAA, 0xC8}, {0xAC, 0xC9}, {0xA6, 0xCA}, {0xA7, 0xCB},
        {0xA9, 0xCC}, {0xA8, 0xCD}, {0xAB, 0xCE}, {0xB5, 0xD1},
    };
    t.insert(t.end(), singles.begin(), singles.end());
    return t;
}

// Virtual keys the AZERTY variant takes from other positions.
const CodePairs kAzertyCodes = {
    {0x41, 0x14}, {0x51, 0x04}, {0x57, 0x1D}, {0x5A, 0x1A}, {0x4D, 0x33}, {0xBC, 0x10}, {0xBE, 0x36},
    {0xBF, 0x37}, {0xC0, 0x34}, {0xDF, 0x38}, {0xDE, 0x35}, {0xDB, 0x2D}, {0xDD, 0x2F}, {0xBA, 0x30},
};

class KeyCodesTest : public TextsTest {};

}  // namespace

TEST_F(KeyCodesTest, EveryListedVirtualKeyHasItsCodeAndEveryOtherGivesZero) {
    const CodePairs table = UsTable();
    std::vector<unsigned> expected(256, 0);
    for (const auto& [vk, code] : table) expected[vk] = code;
    for (unsigned vk = 0; vk < 256; ++vk)
        EXPECT_EQ(KeyCodeFromVirtualKey(vk), expected[vk]) << std::hex << vk;
    // Shift without side, the Alt keys with side and the AZERTY-only key have no code.
    for (unsigned vk : {0x10u, 0xA4u, 0xA5u, 0xDFu, 0xE2u}) EXPECT_EQ(expected[vk], 0u) << std::hex << vk;
    for (unsigned vk : {0x100u, 0x141u, 0xFFFFFFFFu})
        EXPECT_EQ(KeyCodeFromVirtualKey(vk), 0) << std::hex << vk;
}

TEST_F(KeyCodesTest, RightCtrlAndCtrlWithoutSideAreRightCtrl) {
    EXPECT_EQ(KeyCodeFromVirtualKey(0xA3), 0x91);
    EXPECT_EQ(KeyCodeFromVirtualKey(0x11), 0x91);
    EXPECT_EQ(KeyName(0x91), "Right Ctrl");
}

TEST_F(KeyCodesTest, AzertyVariantMovesItsKeysAndLeavesTheRest) {
    UseLanguage("French");
    CodePairs expected = UsTable();
    expected.emplace_back(0xDF, 0);
    for (auto& [vk, code] : expected)
        for (const auto& [azertyVk, azertyCode] : kAzertyCodes)
            if (vk == azertyVk) code = azertyCode;
    for (const auto& [vk, code] : expected) EXPECT_EQ(KeyCodeFromVirtualKey(vk), code) << std::hex << vk;
}

TEST_F(KeyCodesTest, TheVariantFollowsTheLanguageOnEveryCall) {
    struct Case {
        const char* language;
        const char* text200;
        bool azerty;
    };
    const Case cases[] = {
        {"French", "French", true},     {"FRENCH", "french", true}, {"English", "French", false},
        {"CA-French", "French", false}, {"", "French", false},      {"", "", false},
        {"Français", "Français", true}, {"French", nullptr, false},  // text 200 missing: stays a reference
    };
    for (const Case& c : cases) {
        UseLanguage(c.language);
        if (c.text200)
            ui::TextTable::Instance().Set(200, c.text200);
        else
            ui::TextTable::Instance().Clear();
        const std::string where = std::string(c.language) + " / " + (c.text200 ? c.text200 : "(none)");
        EXPECT_EQ(KeyCodeFromVirtualKey(0x41), c.azerty ? 0x14 : 0x04) << where;
        EXPECT_EQ(KeyCodeFromVirtualKey(0x4D), c.azerty ? 0x33 : 0x10) << where;
        EXPECT_EQ(KeyName(0x04), c.azerty ? "Q" : "A") << where;
    }
    assign::SetLanguageNameProvider(nullptr);
    ui::TextTable::Instance().Set(200, "French");
    EXPECT_EQ(KeyCodeFromVirtualKey(0x41), 0x04);  // no provider: no language, no variant
}

TEST_F(KeyCodesTest, AandMConvertAndAreNamedByTheirCaps) {
    EXPECT_EQ(KeyCodeFromVirtualKey(0x41), 0x04);
    EXPECT_EQ(KeyName(0x04), "A");
    EXPECT_EQ(KeyCodeFromVirtualKey(0x4D), 0x10);
    EXPECT_EQ(KeyName(0x10), "M");
    EXPECT_EQ(KeyName(0x33), "OEM_1");
    UseLanguage("French");
    EXPECT_EQ(KeyCodeFromVirtualKey(0x41), 0x14);
    EXPECT_EQ(KeyName(0x14), "A");
    EXPECT_EQ(KeyCodeFromVirtualKey(0x4D), 0x33);
    EXPECT_EQ(KeyName(0x33), "M");
}

TEST_F(KeyCodesTest, EveryListedCodeHasItsNameAndEveryOtherIsEmpty) {
    std::vector<std::string> expected(256);
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int i = 0; i < 26; ++i) expected[0x04 + i] = letters.substr(i, 1);
    for (int i = 0; i < 9; ++i) expected[0x1E + i] = std::to_string(i + 1);
    for (int i = 0; i < 12; ++i) expected[0x3A + i] = "F" + std::to_string(i + 1);
    for (int i = 0; i < 12; ++i) expected[0x68 + i] = "F" + std::to_string(i + 13);
    for (int i = 0; i < 9; ++i) expected[0x59 + i] = std::to_string(i + 1) + " (numeric pad)";
    const std::vector<std::pair<unsigned, std::string>> singles = {
        {0x27, "0"},
        {0x28, "Enter"},
        {0x29, "Esc"},
        {0x2A, "Backspace"},
        {0x2B, "Tab"},
        {0x2C, "Space bar"},
        {0x2D, "OEM_Minus"},
        {0x2E, "OEM_Plus"},
        {0x2F, "OEM_4"},
        {0x30, "OEM_6"},
        {0x31, "OEM_5"},
        {0x33, "OEM_1"},
        {0x34, "OEM_7"},
        {0x35, "OEM_3"},
        {0x36, "OEM_Comma"},
        {0x37, "OEM_Period"},
        {0x38, "OEM_2"},
        {0x39, "Caps Lock"},
        {0x46, "Print Screen"},
        {0x47, "Scroll Lock"},
        {0x48, "Pause"},
        {0x49, "Insert"},
        {0x4A, "Home"},
        {0x4B, "Page Up"},
        {0x4C, "Delete"},
        {0x4D, "End"},
        {0x4E, "Page Down"},
        {0x4F, "Right Arrow"},
        {0x50, "Left Arrow"},
        {0x51, "Down Arrow"},
        {0x52, "Up Arrow"},
        {0x53, "Num Lock"},
        {0x54, "Divide (numeric pad)"},
        {0x55, "Multiply (numeric pad)"},
        {0x56, "Subtract (numeric pad)"},
        {0x57, "Add (numeric pad)"},
        {0x58, "Separator (numeric pad)"},
        {0x62, "0 (numeric pad)"},
        {0x63, "Decimal (numeric pad)"},
        {0x65, "Applications"},
        {0x75, "Help"},
        {0x77, "Select"},
        {0x7E, "UKB_Fn"},
        {0x7F, "UKB_LED"},
        {0x81, "Left Ctrl"},
        {0x82, "Left Shift"},
        {0x84, "Left Alt"},
        {0x88, "Win"},
        {0x91, "Right Ctrl"},
        {0x92, "Right Shift"},
        {0x94, "Right Alt"},
        {0x98, "Win"},
        {0x9C, "Clear"},
    };
    for (const auto& [code, name] : singles) expected[code] = name;
    for (unsigned code = 0; code < 256; ++code) EXPECT_EQ(KeyName(code), expected[code]) << std::hex << code;
    for (unsigned code : {0x100u, 0x104u, 0xFFFFFFFFu}) EXPECT_EQ(KeyName(code), "") << std::hex << code;
}

TEST_F(KeyCodesTest, AzertyVariantRenamesItsPositionsOnly) {
    UseLanguage("French");
    const std::vector<std::pair<unsigned, std::string>> renamed = {
        {0x04, "Q"},         {0x14, "A"},     {0x1A, "Z"},          {0x1D, "W"},     {0x33, "M"},
        {0x10, "OEM_COMMA"}, {0x34, "OEM_3"}, {0x36, "OEM_Period"}, {0x37, "OEM_2"}, {0x38, "OEM_8"},
        {0x35, "OEM_7"},     {0x2D, "OEM_4"}, {0x2F, "OEM_6"},      {0x30, "OEM_1"},
    };
    for (const auto& [code, name] : renamed) EXPECT_EQ(KeyName(code), name) << std::hex << code;
    const std::vector<std::pair<unsigned, std::string>> kept = {
        {0x05, "B"}, {0x11, "N"}, {0x2E, "OEM_Plus"}, {0x31, "OEM_5"}, {0x81, "Left Ctrl"}, {0x32, ""},
    };
    for (const auto& [code, name] : kept) EXPECT_EQ(KeyName(code), name) << std::hex << code;
}

TEST_F(KeyCodesTest, MultimediaNamesCoverA0ToB7Only) {
    const std::vector<std::pair<unsigned, std::string>> cases = {
        {0xA0, "Scan Next Track"},
        {0xA3, "Play/Pause "},
        {0xA7, "Volume Increment"},
        {0xAD, "Media Select"},
        {0xB1, "WWW Search "},
        {0xB7, "WWW Favorites"},
        {0x9F, ""},
        {0xB8, ""},
        {0x00, ""},
        {0x1A0, ""},
        {0xFFFFFFFF, ""},
    };
    for (const auto& [code, name] : cases) EXPECT_EQ(MultimediaKeyName(code), name) << std::hex << code;
    for (unsigned code = 0xA0; code <= 0xB7; ++code)
        EXPECT_FALSE(MultimediaKeyName(code).empty()) << std::hex << code;
}
