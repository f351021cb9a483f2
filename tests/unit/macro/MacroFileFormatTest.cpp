// The record layout of macro files: names, trimming per model, remainders and empty slots.
#include <gtest/gtest.h>

#include "MacroTestSupport.h"
#include "macro/MacroFileFormat.h"

using macrotest::Bytes;
using M = DeviceModel;

namespace {

// One record of `model` with `name` (ASCII) and `data` at the start of the data field.
std::vector<uint8_t> Record(DeviceModel model, const std::string& name, const std::vector<uint8_t>& data) {
    const MacroFileFormat& format = FileFormat(model);
    std::vector<uint8_t> record(format.recordSize, 0);
    for (size_t i = 0; i < name.size() && 2 * i + 1 < format.nameBytes; ++i) record[2 * i + 1] = name[i];
    std::copy(data.begin(), data.end(), record.begin() + static_cast<std::ptrdiff_t>(format.nameBytes));
    return record;
}

// The same with a name of any UTF-16 code units, high byte first.
std::vector<uint8_t> Record(DeviceModel model, const std::u16string& name, const std::vector<uint8_t>& data) {
    const MacroFileFormat& format = FileFormat(model);
    std::vector<uint8_t> record = Record(model, std::string(), data);
    for (size_t i = 0; i < name.size() && 2 * i + 1 < format.nameBytes; ++i) {
        record[2 * i] = static_cast<uint8_t>(name[i] >> 8);
        record[2 * i + 1] = static_cast<uint8_t>(name[i]);
    }
    return record;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(MacroRecords, LoadsNamedRecordsInOrder) {
    const auto egret = Bytes({0xFD, 0x01, 0x82, 0x04, 0xFC, 0x00});
    struct Case {
        const char* what;
        DeviceModel model;
        std::vector<uint8_t> file;
        std::vector<std::u16string> names;
    } cases[] = {
        {"second record empty",
         M::Egret,
         Join({Record(M::Egret, "one", egret), Record(M::Egret, "", egret)}),
         {u"one"}},
        {"remainder ignored",
         M::Egret,
         Join({Record(M::Egret, "a", egret), Record(M::Egret, "b", egret), std::vector<uint8_t>(239, 0x41)}),
         {u"a", u"b"}},
        {"name fills the field", M::Egret, Record(M::Egret, "EightChr", egret), {u"EightChr"}},
        {"sixteen characters", M::Heron, Record(M::Heron, "Sixteen_chars_ok", {}), {u"Sixteen_chars_ok"}},
        {"shorter than a record", M::Crane, std::vector<uint8_t>(239, 0x41), {}},
        {"empty file", M::Plover, {}, {}},
    };
    for (const auto& c : cases) {
        const MacroList list = ParseMacroRecords(c.model, c.file);
        std::vector<std::u16string> names;
        for (const auto& entry : list) names.push_back(entry->name);
        EXPECT_EQ(names, c.names) << c.what;
    }
}

std::u16string U(std::initializer_list<int> units) {
    std::u16string out;
    for (int unit : units) out += static_cast<char16_t>(unit);
    return out;
}

// A record whose name is not text is garbage, not a macro: it is left out, and the records around it
// still load.
TEST(MacroRecords, RecordsWhoseNamesAreNotTextAreSkipped) {
    const auto data = Bytes({0xFD, 0x01, 0x82, 0x04, 0xFC, 0x00});
    const std::u16string clef = u"\U0001D11E";
    struct Case {
        const char* what;
        std::u16string name;
        bool loads;
    } cases[] = {
        {"accented", U({0xE9, 't', 0xE9}), true},
        {"surrogate pair", u"G" + clef, true},
        {"chinese", U({0x5B8F, 0x4E00}), true},
        {"private use", U({0xE000, 'x'}), true},
        {"lone high surrogate", U({'a', 'b', 0xD834}), false},
        {"lone high surrogate before a letter", U({0xD834, 'b'}), false},
        {"lone low surrogate", U({0xDD1E, 'a', 'b'}), false},
        {"pair in the wrong order", U({0xDD1E, 0xD834}), false},
        {"control character", U({'a', 0x01, 'b'}), false},
        {"tab", U({'a', '\t', 'b'}), false},
        {"delete", U({0x7F}), false},
        {"C1 control", U({'x', 0x85}), false},
        {"noncharacter FFFF", U({0xFFFF, 0xFFFF}), false},
        {"noncharacter FFFE", U({'a', 'b', 0xFFFE}), false},
        {"noncharacter FDD0", U({0xFDD0}), false},
        {"plane noncharacter", U({0xD83F, 0xDFFF}), false},
    };
    for (const DeviceModel model : {M::Egret, M::Heron}) {
        for (const auto& c : cases) {
            const auto file = Join(
                {Record(model, u"before", data), Record(model, c.name, data), Record(model, u"after", data)});
            const MacroList list = ParseMacroRecords(model, file);
            std::vector<std::u16string> names;
            for (const auto& entry : list) names.push_back(entry->name);
            const std::vector<std::u16string> expected =
                c.loads ? std::vector<std::u16string>{u"before", c.name, u"after"}
                        : std::vector<std::u16string>{u"before", u"after"};
            EXPECT_EQ(names, expected) << c.what << " " << static_cast<int>(model);
        }
    }
    // A name cut by the field at a pair's first half is no text either.
    const auto cut = Record(M::Egret, U({'1', '2', '3', '4', '5', '6', '7', 0xD834, 0xDD1E}), data);
    EXPECT_TRUE(ParseMacroRecords(M::Egret, cut).empty());
}

TEST(MacroRecords, TrimsDataPerModel) {
    std::vector<uint8_t> noTerminator;
    for (int i = 0; i < 112; ++i) noTerminator.insert(noTerminator.end(), {0x82, 0x00});
    struct Case {
        const char* what;
        DeviceModel model;
        std::vector<uint8_t> field;
        size_t expectedSize;
    } cases[] = {
        {"terminated up to the 00", M::Egret, Bytes({0xFD, 0x01, 0x82, 0x04, 0xFC, 0x00, 0x82}), 6},
        {"00 inside an operand is not the end", M::Ibis,
         Bytes({0x82, 0x00, 0xFE, 0x00, 0x00, 0x03, 0x00, 0x00}), 8},
        {"no terminator leaves no data", M::Crane, noTerminator, 0},
        {"counted by its length byte", M::Heron,
         Bytes({0x01, 0x08, 0xFD, 0x00, 0x82, 0x04, 0x02, 0x04, 0xFC, 0xD7}), 10},
        {"counted length capped by the field", M::Heron, Bytes({0x00, 0xFF}), 224},
        {"heron driver kept whole", M::HeronDriver, Bytes({0x00, 0x00, 0x03}), 2016},
        {"keyboard kept whole", M::Plover, Bytes({0x05, 0x00, 0x06}), 144},
    };
    for (const auto& c : cases) {
        const MacroList list = ParseMacroRecords(c.model, Record(c.model, "m", c.field));
        ASSERT_EQ(list.size(), 1u) << c.what;
        EXPECT_EQ(list[0].data.size(), c.expectedSize) << c.what;
        const size_t compared = std::min(c.expectedSize, c.field.size());
        EXPECT_TRUE(std::equal(c.field.begin(), c.field.begin() + compared, list[0].data.begin())) << c.what;
    }
}

TEST(MacroRecords, WritesBigEndianNamesAndZeroFilledFields) {
    MacroList list;
    list.Add({u"Ab", Bytes({0xFD, 0x00, 0xFC, 0x00})});
    list.Add({u"TooLongName", std::vector<uint8_t>(300, 0x11)});
    const auto bytes = SerializeMacroRecords(M::Egret, list);
    ASSERT_EQ(bytes.size(), 480u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6),
              Bytes({0x00, 'A', 0x00, 'b', 0x00, 0x00}));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 16, bytes.begin() + 21),
              Bytes({0xFD, 0x00, 0xFC, 0x00, 0x00}));
    EXPECT_EQ(bytes[239], 0);
    EXPECT_EQ(bytes[240 + 15], 'N');  // eight characters kept
    EXPECT_EQ(bytes[479], 0x11);      // data cut to the field

    const MacroList back = ParseMacroRecords(M::Egret, bytes);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, u"Ab");
    EXPECT_EQ(back[0].data, list[0].data);
    EXPECT_EQ(back[1].name, u"TooLongN");
}

TEST(MacroRecords, NamesAreNotCutInsideASurrogatePair) {
    const std::u16string clef = u"\U0001D11E";  // two code units
    struct Case {
        std::u16string name;
        size_t maxChars;
        std::u16string expected;
    } cases[] = {
        {u"1234567" + clef, 8, u"1234567"},
        {u"123456" + clef, 8, u"123456" + clef},
        {u"abc", 8, u"abc"},
        {clef, 1, u""},
    };
    for (const auto& c : cases) EXPECT_EQ(CutName(c.name, c.maxChars), c.expected);

    MacroList list;
    list.Add({u"1234567" + clef, {}});
    const MacroList back = ParseMacroRecords(M::Egret, SerializeMacroRecords(M::Egret, list));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, u"1234567");
}

}  // namespace
