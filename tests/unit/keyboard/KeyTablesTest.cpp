// The keyboard's key tables against small images: what a read takes from the keyboard's key
// table, what a write sends back, and how the kind-1 and kind-4 entries share the six macro slots
// and the sixteen combinations.
#include <gtest/gtest.h>

#include <vector>

#include "assign/KeyCodes.h"
#include "keyboard/KeyTables.h"

namespace {

using keyboard::KeyTable;
using K = KeyboardConfig;

constexpr int kKeyA = 0x04;
constexpr int kKeyB = 0x05;
constexpr int kSpace = 0x2C;

// A default image with keys A, B, C at places 0 to 2 of both profiles and Fn codes 0xA0 + j.
std::vector<uint8_t> DefaultImage() {
    std::vector<uint8_t> image(K::kImageSize, 0);
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < 3; ++i)
            image[static_cast<size_t>(K::kDefaultKeyOffset[p] + i)] = static_cast<uint8_t>(kKeyA + i);
        for (int j = 0; j < 12; ++j)
            image[static_cast<size_t>(K::kDefaultFnOffset[p] + j)] = static_cast<uint8_t>(0xA0 + j);
    }
    return image;
}

KeyboardConfig Defaults() {
    KeyboardConfig config;
    const auto image = DefaultImage();
    keyboard::LoadDefaults(config, image);
    return config;
}

KeyboardKey& Key(KeyboardConfig& c, int profile, int index) {
    return c.keyTables[static_cast<size_t>(profile)].at(keyboard::KeyEntryName(index));
}

// The defaults as the keyboard's own key table of one profile.
KeyTable TableOf(const KeyboardConfig& c, int profile) {
    return keyboard::BuildKeyTable(c, profile);
}

MacroList NamedMacros(int count) {
    MacroList list;
    for (int i = 0; i < count; ++i)
        list.Add({u"M" + std::u16string(1, static_cast<char16_t>(u'0' + i)), {0x05, 0x00, 0x06}, 0});
    return list;
}

TEST(KeyTables, DefaultsComeFromTheImageAndNameEveryKey) {
    KeyboardConfig c = Defaults();
    ASSERT_EQ(c.keyTables[0].size(), 3u);  // unused places hold no key
    EXPECT_EQ(Key(c, 1, 2).defaultCode, kKeyA + 2);
    EXPECT_EQ(Key(c, 0, 0).text, assign::KeyName(kKeyA));
    EXPECT_EQ(c.fnTables[0].at("FN_12").code, 0xAB);
    EXPECT_FALSE(c.fnTables[0].at("FN_1").text.empty());

    KeyboardConfig empty;
    keyboard::LoadDefaults(empty, std::vector<uint8_t>(100, 1));  // too short: nothing to edit
    EXPECT_TRUE(empty.keyTables[0].empty());
    EXPECT_TRUE(empty.fnTables[1].empty());
}

// Each byte of a read names the key's new function by the first source that knows the code.
TEST(KeyTables, AReadNamesEachCodeByItsKind) {
    struct Case {
        const char* what;
        int code;
        uint16_t combination;  // entry 0 of the table's combinations
        int kind;
        std::string text;
    };
    const MacroEntry played{u"Burst", {0x05, 0x00, 0x06}, 0};
    const std::vector<Case> cases = {
        {"key", kSpace, 0, KeyboardKey::kKey, assign::KeyName(kSpace)},
        {"modifier combination", 0xE0, 0x8304, KeyboardKey::kCombination,
         "Ctrl+Shift+" + assign::KeyName(kKeyA)},
        {"two keys", 0xE0, 0x0405, KeyboardKey::kCombination,
         assign::KeyName(kKeyA) + "+" + assign::KeyName(kKeyB)},
        {"all modifiers", 0xE0, 0x8F05, KeyboardKey::kCombination,
         "Ctrl+Shift+Alt+Win+" + assign::KeyName(kKeyB)},
        {"macro slot", 0xC2, 0, KeyboardKey::kMacro, "Burst"},
        {"multimedia", 0xA4, 0, KeyboardKey::kMultimedia, assign::MultimediaKeyName(0xA4)},
    };
    for (const Case& t : cases) {
        KeyboardConfig c = Defaults();
        Key(c, 0, 1).kind = KeyboardKey::kMacro;  // whatever it was, the read decides
        KeyTable table = TableOf(c, 0);
        table[1] = static_cast<uint8_t>(t.code);
        table[K::kComboOffset] = static_cast<uint8_t>(t.combination >> 8);
        table[K::kComboOffset + 1] = static_cast<uint8_t>(t.combination);
        keyboard::TakeKeyTable(c, 0, table, {{2, played}});
        EXPECT_EQ(Key(c, 0, 1).kind, t.kind) << t.what;
        EXPECT_EQ(Key(c, 0, 1).text, t.text) << t.what;
        EXPECT_EQ(Key(c, 0, 1).code, t.code) << t.what;
        EXPECT_EQ(Key(c, 0, 0).code, kKeyA) << t.what << ": other keys keep their codes";
    }
}

TEST(KeyTables, AFnByteEqualToItsDefaultLeavesTheEntryAlone) {
    KeyboardConfig c = Defaults();
    KeyboardKey& fn3 = c.fnTables[0].at("FN_3");
    fn3.code = kKeyB;  // edited on the page, and the keyboard still holds the default
    fn3.text = "edited";
    KeyTable table = TableOf(Defaults(), 0);
    table[K::kFnOffset + 3] = kSpace;  // FN_4 differs from its default
    keyboard::TakeKeyTable(c, 0, table, {});
    EXPECT_EQ(fn3.code, kKeyB);
    EXPECT_EQ(fn3.text, "edited");
    EXPECT_EQ(c.fnTables[0].at("FN_4").code, kSpace);
}

// What the page writes reads back as the same record.
TEST(KeyTables, AWrittenTableReadsBackAsTheRecord) {
    KeyboardConfig c = Defaults();
    const MacroList macros = NamedMacros(2);
    keyboard::AssignKey(c, Key(c, 0, 0), kSpace, macros);
    ASSERT_EQ(keyboard::AssignMacro(c, Key(c, 0, 1), macros[1], macros), keyboard::AssignResult::Done);
    ASSERT_EQ(keyboard::AssignCombination(c, c.fnTables[1].at("FN_2"), 0x8504, macros),
              keyboard::AssignResult::Done);
    const KeyTable written = TableOf(c, 0);
    EXPECT_EQ(written[0], kSpace);
    EXPECT_EQ(written[1], 0xC0);
    EXPECT_EQ(written[K::kComboOffset], 0x85);
    EXPECT_EQ(written[K::kComboOffset + 1], kKeyA);
    EXPECT_EQ(TableOf(c, 1)[K::kFnOffset + 1], 0xE0);
    EXPECT_EQ(written[3], 0) << "bytes of no key are 0";

    KeyboardConfig read = Defaults();
    std::map<int, MacroEntry> slots{{0, c.macros[0]}};
    for (int p = 0; p < 2; ++p) keyboard::TakeKeyTable(read, p, TableOf(c, p), slots);
    keyboard::RebuildSlots(read, macros);
    EXPECT_EQ(read.keyTables, c.keyTables);
    EXPECT_EQ(read.fnTables, c.fnTables);
    EXPECT_EQ(read.keyboardCombos, c.keyboardCombos);
}

TEST(KeyTables, SixMacrosFitAndASeventhLeavesTheKeyAsItWas) {
    KeyboardConfig c = Defaults();
    const MacroList macros = NamedMacros(7);
    // Six keys of both profiles' tables play six macros.
    std::vector<KeyboardKey*> keys = {&Key(c, 0, 0), &Key(c, 0, 1), &Key(c, 0, 2),
                                      &Key(c, 1, 0), &Key(c, 1, 1), &c.fnTables[0].at("FN_1")};
    for (size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(keyboard::AssignMacro(c, *keys[i], macros[i], macros), keyboard::AssignResult::Done);
    ASSERT_EQ(c.macros.size(), 6u);

    KeyboardKey& seventh = Key(c, 1, 2);
    const KeyboardKey before = seventh;
    EXPECT_EQ(keyboard::AssignMacro(c, seventh, macros[6], macros), keyboard::AssignResult::NoMacroSlot);
    EXPECT_EQ(seventh, before);
    // A macro already held needs no slot of its own, and the only key of a macro frees its slot.
    EXPECT_EQ(keyboard::AssignMacro(c, seventh, macros[2], macros), keyboard::AssignResult::Done);
    EXPECT_EQ(keyboard::AssignMacro(c, Key(c, 0, 0), macros[6], macros), keyboard::AssignResult::Done);
    EXPECT_EQ(c.macros.size(), 6u);
}

TEST(KeyTables, SixteenCombinationsFitAndTheSeventeenthChangesNothing) {
    KeyboardConfig c;
    std::vector<uint8_t> image(K::kImageSize, 0);
    for (int i = 0; i < 17; ++i)
        image[static_cast<size_t>(K::kDefaultKeyOffset[0] + i)] = static_cast<uint8_t>(kKeyA + i);
    image[static_cast<size_t>(K::kDefaultKeyOffset[1])] = kKeyA;
    keyboard::LoadDefaults(c, image);
    const MacroList none;
    for (int i = 0; i < 16; ++i)
        ASSERT_EQ(
            keyboard::AssignCombination(c, Key(c, 0, i), static_cast<uint16_t>(0x8100 | (kKeyA + i)), none),
            keyboard::AssignResult::Done);
    // The same combination again takes no new place.
    EXPECT_EQ(keyboard::AssignCombination(c, Key(c, 1, 0), 0x8104, none), keyboard::AssignResult::Done);
    const KeyboardKey before = Key(c, 0, 16);
    EXPECT_EQ(keyboard::AssignCombination(c, Key(c, 0, 16), 0x8204, none),
              keyboard::AssignResult::NoCombinationSlot);
    EXPECT_EQ(Key(c, 0, 16), before);
    EXPECT_EQ(c.keyboardCombos.size(), 16u);
}

// Releasing a slot renumbers the later ones, so every code names its place again.
TEST(KeyTables, SlotsAreRenumberedInTableOrder) {
    KeyboardConfig c = Defaults();
    const MacroList macros = NamedMacros(3);
    for (int i = 0; i < 3; ++i)
        keyboard::AssignMacro(c, Key(c, 0, i), macros[static_cast<size_t>(i)], macros);
    keyboard::AssignCombination(c, Key(c, 1, 0), 0x0405, macros);
    keyboard::AssignCombination(c, Key(c, 1, 1), 0x0506, macros);
    keyboard::ResetKey(c, Key(c, 0, 0), macros);
    keyboard::AssignKey(c, Key(c, 1, 0), kSpace, macros);
    EXPECT_EQ(Key(c, 0, 0).code, kKeyA);
    EXPECT_EQ(Key(c, 0, 1).code, 0xC0);
    EXPECT_EQ(Key(c, 0, 2).code, 0xC1);
    ASSERT_EQ(c.macros.size(), 2u);
    EXPECT_EQ(c.macros[0].name, u"M1");
    EXPECT_EQ(Key(c, 1, 1).code, 0xE0);
    EXPECT_EQ(c.keyboardCombos, std::vector<uint16_t>{0x0506});
}

}  // namespace
