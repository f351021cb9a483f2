// Macro names as the key editor compares them, and the macro bookkeeping against a device that
// numbers its macros by their place in memory.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "assign/DeviceMacroSync.h"

namespace {

using Code = std::array<uint8_t, 4>;

TEST(MacroNames, CompareByUnicodeCaseFolding) {
    struct Case {
        std::u16string a, b;
        bool same;
    };
    const Case cases[] = {
        {u"PASTE", u"paste", true},
        {u"été", u"Été", true},
        {u"ÉTÉ", u"été", true},
        {u"Ωμέγα", u"ΩΜΈΓΑ", true},
        {u"straße", u"STRASSE", true},         // folding may change the length
        {u"\U00010400", u"\U00010428", true},  // outside the 16-bit range: a surrogate pair
        {u"e\u0301te\u0301", u"Été", true},    // combining accents against precomposed letters
        {u"ete", u"été", false},
        {u"Paste", u"Pastes", false},
        {u"\xD800", u"x", false},  // a lone surrogate from a device is not a letter
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(assign::DeviceMacroSync::SameName(cases[i].a, cases[i].b), cases[i].same) << "case " << i;
        EXPECT_EQ(assign::DeviceMacroSync::SameName(cases[i].b, cases[i].a), cases[i].same) << "case " << i;
    }
}

// A device whose macro ids are the offsets of their records, as the family-E mice number them.
class PackedDevice : public assign::KeyEditDevice {
  public:
    explicit PackedDevice(FamilyEConfig& config) : config_(config) {}
    bool ReloadMacros() override {
        config_.macros.Clear();
        int id = 0x200;
        for (const MacroEntry& m : held) {
            MacroEntry copy = m;
            copy.id = id;
            id += 18 + static_cast<int>(m.data.size());
            config_.macros.Add(copy);
        }
        return true;
    }
    bool WriteKey(int, int) override { return true; }
    bool WriteMacro(int index, std::u16string_view name, std::span<const uint8_t> events) override {
        ++macroWrites;
        if (events.empty())
            held.erase(held.begin() + index);
        else
            held.push_back({std::u16string(name), {events.begin(), events.end()}});
        return true;
    }

    std::vector<MacroEntry> held;
    int macroWrites = 0;

  private:
    FamilyEConfig& config_;
};

TEST(DeviceMacroSync, AMacroHeldUnderAnotherCaseIsReusedWithoutADownload) {
    FamilyEConfig config;
    config.keyLists[0] = {{{1, 1, 0, 0}, 0}, {{1, 2, 0, 0}, 1}};
    PackedDevice device(config);
    device.held = {{u"Copy", {0x04, 0xFC, 0x00}}, {u"Été", {0x04, 0xFC, 0x00}}};
    device.ReloadMacros();
    assign::DeviceMacroSync sync(config, device, 0, 1);
    const auto code = sync.Assign({u"été", {0x04, 0x01, 0xFC, 0x00}});
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, (Code{0x10, 0x02, 0x15, 0}));  // the second record, after 3 + 18 bytes
    EXPECT_EQ(device.macroWrites, 0);
    EXPECT_EQ(device.held.size(), 2u);
}

}  // namespace
