// Labels of the four-byte codes of the Egret, Ibis and Crane, with their effects on the rapid-fire
// presets and the remembered fire-macro byte.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "AssignTestSupport.h"
#include "assign/AssignmentLabel.h"
#include "assign/FireMacroMemory.h"
#include "records/CraneConfig.h"
#include "records/EgretConfig.h"
#include "records/IbisConfig.h"

using assign::AssignmentLabel;

namespace {

using Code = std::array<uint8_t, 4>;

struct LabelCase {
    Code code;
    std::string label;
};

constexpr DeviceModel kFamilyE[] = {DeviceModel::Egret, DeviceModel::Ibis, DeviceModel::Crane};

std::string Label(DeviceModel model, FamilyEConfig& config, Code c) {
    return AssignmentLabel(model, config, c[0], c[1], c[2], c[3]);
}

std::string Hex(Code c) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02X %02X %02X %02X", c[0], c[1], c[2], c[3]);
    return buffer;
}

class FamilyELabelTest : public TextsTest {
  protected:
    void SetUp() override {
        TextsTest::SetUp();
        for (DeviceModel model : kFamilyE) assign::SetRememberedFireMacroByte(model, 0);
    }
    // Presets as (stored count, interval, continuous).
    static void SetPresets(FamilyEConfig& config, std::array<RapidFireSlot, 3> presets) {
        config.rapidFire = presets;
    }
};

}  // namespace

TEST_F(FamilyELabelTest, KeyboardKeysComposeModifiersAndUpToTwoKeys) {
    const LabelCase cases[] = {
        {{2, 0x03, 0x06, 0x19}, "Ctrl+Shift+C+V"},
        {{2, 0x05, 0, 0}, "Ctrl+Alt"},  // no key: the trailing "+" goes
        {{2, 0, 0, 0}, ""},
        {{2, 8, 7, 0}, T(99)},  // Win+D is Show Desktop
        {{2, 8, 7, 0x05}, "Win+D+B"},
        {{2, 0x0F, 0x04, 0}, "Ctrl+Shift+Alt+Win+A"},
        {{2, 0x08, 0, 0}, "Win"},
        {{2, 0, 0x28, 0}, "Enter"},
        {{2, 0, 0x04, 0x05}, "A+B"},
        {{2, 0, 0, 0x04}, "A"},  // a single captured key: byte 3, nothing joined in front
        {{2, 0x01, 0, 0x04}, "Ctrl+A"},
        {{2, 0x01, 0x32, 0}, "Ctrl"},        // a code without a name counts as no key
        {{2, 0x02, 0x04, 0x32}, "Shift+A"},  // likewise for the second key
        {{2, 0xF0, 0x04, 0}, "A"},           // bits 4 to 7 name nothing
    };
    EgretConfig config;
    for (const LabelCase& c : cases)
        EXPECT_EQ(Label(DeviceModel::Egret, config, c.code), c.label) << Hex(c.code);
}

TEST_F(FamilyELabelTest, KeyNamesFollowTheAzertyVariant) {
    EgretConfig config;
    UseLanguage("French");
    EXPECT_EQ(Label(DeviceModel::Egret, config, {2, 0x01, 0x14, 0x04}), "Ctrl+A+Q");
}

TEST_F(FamilyELabelTest, FixedClassesAreTheSameOnEveryModel) {
    const LabelCase cases[] = {
        {{0, 0, 0, 0}, T(95)},      {{0, 9, 9, 9}, T(95)},     {{1, 1, 0, 0}, T(54)},
        {{1, 2, 0, 0}, T(55)},      {{1, 4, 0, 0}, T(56)},     {{1, 8, 0, 0}, T(79)},
        {{1, 16, 0, 0}, T(78)},     {{1, 3, 0, 0}, ""},        {{1, 0, 0, 0}, ""},
        {{3, 0, 0xB5, 0}, T(19)},   {{3, 0, 0xB6, 0}, T(20)},  {{3, 0, 0xB7, 0}, T(21)},
        {{3, 0, 0xCD, 0}, T(22)},   {{3, 0, 0xE2, 0}, T(23)},  {{3, 0, 0xE9, 0}, T(24)},
        {{3, 0, 0xEA, 0}, T(25)},   {{3, 1, 0x8A, 0}, T(27)},  {{3, 1, 0x92, 0}, T(28)},
        {{3, 1, 0x94, 0}, T(29)},   {{3, 2, 0x21, 0}, T(30)},  {{3, 2, 0x23, 0}, T(31)},
        {{3, 2, 0x24, 0}, T(32)},   {{3, 2, 0x25, 0}, T(33)},  {{3, 2, 0x26, 0}, T(34)},
        {{3, 2, 0x27, 0}, T(35)},   {{3, 2, 0x2A, 0}, T(36)},  {{3, 1, 0xB5, 0}, ""},
        {{3, 0, 0x8A, 0}, ""},      {{4, 1, 0, 0}, T(119)},    {{4, 2, 0, 0}, T(120)},
        {{4, 3, 0, 0}, T(121)},     {{4, 0, 0, 0}, ""},        {{4, 4, 0, 0}, ""},
        {{5, 0, 0, 0}, T(93)},      {{7, 0x80, 0, 0}, T(115)}, {{7, 0x81, 0, 0}, T(116)},
        {{7, 0x82, 0, 0}, T(127)},  {{7, 0xF8, 0, 0}, T(115)}, {{7, 0x89, 0, 0}, T(116)},
        {{7, 0x83, 0, 0}, ""},      {{7, 0x00, 0, 0}, ""},     {{7, 0x01, 0, 0}, ""},
        {{8, 0, 0, 0}, T(92)},      {{8, 1, 0, 0}, T(129)},    {{8, 2, 0, 0}, ""},
        {{9, 0, 0, 0}, T(89)},      {{9, 1, 0, 0}, T(90)},     {{9, 2, 0, 0}, T(91)},
        {{9, 3, 0, 0}, ""},         {{10, 0, 0, 0}, T(125)},   {{10, 1, 0, 0}, T(126)},
        {{10, 2, 0, 0}, ""},        {{12, 0, 0, 0}, T(128)},   {{14, 7, 7, 7}, T(94)},
        {{13, 0, 0, 0}, ""},        {{15, 0, 0, 0}, ""},       {{17, 0, 0, 0}, ""},
        {{255, 255, 255, 255}, ""},
    };
    EgretConfig egret;
    IbisConfig ibis;
    CraneConfig crane;
    FamilyEConfig* configs[] = {&egret, &ibis, &crane};
    for (size_t m = 0; m < std::size(kFamilyE); ++m)
        for (const LabelCase& c : cases)
            EXPECT_EQ(Label(kFamilyE[m], *configs[m], c.code), c.label)
                << int(kFamilyE[m]) << ": " << Hex(c.code);
}

TEST_F(FamilyELabelTest, TextsAreResolvedInTheCurrentLanguage) {
    EgretConfig config;
    ui::TextTable::Instance().Set(95, "Désactivé");
    EXPECT_EQ(Label(DeviceModel::Egret, config, {0, 0, 0, 0}), "Désactivé");
    ui::TextTable::Instance().Clear();
    EXPECT_EQ(Label(DeviceModel::Egret, config, {0, 0, 0, 0}), "%{095}");  // no text yet: drawn as written
}

TEST_F(FamilyELabelTest, ModelsOutsideTheFamilyGetNoLabel) {
    EgretConfig config;
    for (DeviceModel model : {DeviceModel::Heron, DeviceModel::HeronDriver, DeviceModel::Plover})
        for (Code code : {Code{0, 0, 0, 0}, Code{2, 0, 4, 0}, Code{11, 1, 1, 9}}) {
            EXPECT_EQ(Label(model, config, code), "");
            EXPECT_EQ(assign::RememberedFireMacroByte(model), 0);
        }
}

TEST_F(FamilyELabelTest, EgretFireKeyTakesTheIntervalAndContinuousFlagOfTheFirstPresetWithItsCount) {
    EgretConfig config;
    SetPresets(config, {{{2, 50, 0}, {2, 60, 0}, {5, 70, 0}}});
    EXPECT_EQ(Label(DeviceModel::Egret, config, {6, 0x92, 0x00, 0x64}), T(122));
    EXPECT_EQ(config.rapidFire[0], (RapidFireSlot{2, 100, 1}));
    EXPECT_EQ(config.rapidFire[1], (RapidFireSlot{2, 60, 0}));  // the search ended at preset 1

    // Interval 0: every preset with the count takes it and none passes.
    SetPresets(config, {{{2, 100, 1}, {3, 60, 1}, {4, 70, 1}}});
    EXPECT_EQ(Label(DeviceModel::Egret, config, {6, 0x12, 0, 0}), "");
    EXPECT_EQ(config.rapidFire[0], (RapidFireSlot{2, 0, 1}));  // continuous flag untouched
    EXPECT_EQ(config.rapidFire[1], (RapidFireSlot{3, 60, 1}));

    // The first preset with the count passes, wherever it is; the high nibble 1 means not continuous.
    SetPresets(config, {{{2, 9, 1}, {7, 60, 1}, {2, 70, 1}}});
    EXPECT_EQ(Label(DeviceModel::Egret, config, {6, 0x12, 0x01, 0x2C}), T(122));
    EXPECT_EQ(config.rapidFire[0], (RapidFireSlot{2, 300, 0}));
    SetPresets(config, {{{7, 9, 1}, {7, 60, 1}, {2, 70, 1}}});
    EXPECT_EQ(Label(DeviceModel::Egret, config, {6, 0x12, 0x01, 0x2C}), T(124));
    EXPECT_EQ(config.rapidFire[2], (RapidFireSlot{2, 300, 0}));
    EXPECT_EQ(config.rapidFire[0], (RapidFireSlot{7, 9, 1}));

    // A high nibble other than 1 (bit 4 clear, or bit 7 set) means continuous.
    for (uint8_t byte1 : {0x02, 0x22, 0x82, 0xF2}) {
        SetPresets(config, {{{0, 0, 0}, {2, 0, 0}, {0, 0, 0}}});
        EXPECT_EQ(Label(DeviceModel::Egret, config, {6, byte1, 0, 5}), T(123)) << int{byte1};
        EXPECT_EQ(config.rapidFire[1], (RapidFireSlot{2, 5, 1})) << int{byte1};
    }

    // No preset with the count; a stored count of -1 never matches.
    SetPresets(config, {{{-1, 10, 0}, {1, 10, 0}, {3, 10, 0}}});
    EXPECT_EQ(Label(DeviceModel::Egret, config, {6, 0x1F, 0, 5}), "");
    EXPECT_EQ(config.rapidFire, (std::array<RapidFireSlot, 3>{{{-1, 10, 0}, {1, 10, 0}, {3, 10, 0}}}));
}

TEST_F(FamilyELabelTest, IbisTakesTheContinuousFlagFromBit7) {
    IbisConfig config;
    const struct {
        uint8_t byte1;
        uint8_t continuous;
    } cases[] = {{0x92, 1}, {0x12, 0}, {0x02, 0}, {0x82, 1}, {0xA2, 1}};
    for (const auto& c : cases) {
        SetPresets(config, {{{2, 0, 0}, {0, 0, 0}, {0, 0, 0}}});
        EXPECT_EQ(Label(DeviceModel::Ibis, config, {6, c.byte1, 0x00, 0x64}), T(122));
        EXPECT_EQ(config.rapidFire[0], (RapidFireSlot{2, 100, c.continuous})) << int{c.byte1};
    }
}

TEST_F(FamilyELabelTest, CraneMatchesCountAndIntervalAndChangesOnlyTheFlag) {
    CraneConfig config;
    const std::array<RapidFireSlot, 3> noMatch{{{2, 50, 0}, {3, 100, 0}, {2, 101, 0}}};
    SetPresets(config, noMatch);
    EXPECT_EQ(Label(DeviceModel::Crane, config, {6, 0x92, 0x00, 0x64}), "");
    EXPECT_EQ(config.rapidFire, noMatch);

    SetPresets(config, {{{2, 50, 0}, {2, 100, 0}, {2, 100, 0}}});
    EXPECT_EQ(Label(DeviceModel::Crane, config, {6, 0x92, 0x00, 0x64}), T(123));
    EXPECT_EQ(config.rapidFire, (std::array<RapidFireSlot, 3>{{{2, 50, 0}, {2, 100, 1}, {2, 100, 0}}}));

    SetPresets(config, {{{2, 100, 1}, {0, 0, 0}, {0, 0, 0}}});
    EXPECT_EQ(Label(DeviceModel::Crane, config, {6, 0x12, 0x00, 0x64}), T(122));
    EXPECT_EQ(config.rapidFire[0], (RapidFireSlot{2, 100, 0}));

    // Interval 0 matches a preset whose interval is 0.
    SetPresets(config, {{{4, 7, 0}, {4, 0, 0}, {0, 0, 0}}});
    EXPECT_EQ(Label(DeviceModel::Crane, config, {6, 0x04, 0, 0}), T(123));
    EXPECT_EQ(config.rapidFire[0], (RapidFireSlot{4, 7, 0}));
}

TEST_F(FamilyELabelTest, FireMacroLabelsByModel) {
    struct Case {
        DeviceModel model;
        uint8_t byte1;
        std::string label;
    };
    std::vector<Case> cases;
    for (DeviceModel model : {DeviceModel::Egret, DeviceModel::Ibis}) {
        const int gunTexts[] = {100, 101, 102, 103, 104, 105, -1, 106};
        for (uint8_t gun = 0; gun < 8; ++gun)
            for (uint8_t keepLeft : {0x00, 0x10})
                cases.push_back({model, uint8_t(gun | keepLeft), gunTexts[gun] < 0 ? "" : T(gunTexts[gun])});
        for (uint8_t other : {0x08, 0x18, 0x20, 0x8F, 0x97, 0xFF}) cases.push_back({model, other, ""});
    }
    for (uint8_t gun = 0; gun < 8; ++gun)
        for (uint8_t keepLeft : {0x00, 0x10})
            cases.push_back({DeviceModel::Crane, uint8_t(gun | keepLeft), gun < 7 ? T(100 + gun) : ""});
    cases.push_back({DeviceModel::Crane, 0x8F, T(131)});
    for (uint8_t other : {0x08, 0x0F, 0x1F, 0x80, 0x9F, 0xFF})
        cases.push_back({DeviceModel::Crane, other, ""});

    EgretConfig egret;
    IbisConfig ibis;
    CraneConfig crane;
    for (const Case& c : cases) {
        FamilyEConfig& config = c.model == DeviceModel::Egret  ? static_cast<FamilyEConfig&>(egret)
                                : c.model == DeviceModel::Ibis ? static_cast<FamilyEConfig&>(ibis)
                                                               : static_cast<FamilyEConfig&>(crane);
        EXPECT_EQ(Label(c.model, config, {11, c.byte1, 1, 0}), c.label)
            << int(c.model) << " " << int{c.byte1};
    }
}

TEST_F(FamilyELabelTest, FireMacroCodesRememberTheirFourthByteEvenWithoutALabel) {
    EgretConfig egret;
    CraneConfig crane;
    EXPECT_EQ(Label(DeviceModel::Egret, egret, {11, 0x16, 1, 9}), "");
    EXPECT_EQ(assign::RememberedFireMacroByte(DeviceModel::Egret), 9);
    EXPECT_EQ(Label(DeviceModel::Egret, egret, {11, 0x01, 1, 4}), T(101));
    EXPECT_EQ(assign::RememberedFireMacroByte(DeviceModel::Egret), 4);
    EXPECT_EQ(Label(DeviceModel::Crane, crane, {11, 0x8F, 1, 0xEE}), T(131));
    EXPECT_EQ(assign::RememberedFireMacroByte(DeviceModel::Crane), 0xEE);
    EXPECT_EQ(assign::RememberedFireMacroByte(DeviceModel::Egret), 4);  // each model keeps its own
    EXPECT_EQ(assign::RememberedFireMacroByte(DeviceModel::Ibis), 0);
    // Other classes leave it alone.
    EXPECT_EQ(Label(DeviceModel::Egret, egret, {6, 0x12, 0, 0x09}), "");
    EXPECT_EQ(Label(DeviceModel::Egret, egret, {12, 0, 0, 0x77}), T(128));
    EXPECT_EQ(assign::RememberedFireMacroByte(DeviceModel::Egret), 4);
}

TEST_F(FamilyELabelTest, MacrosByIdWithEachModelsReservedCodes) {
    auto fill = [](FamilyEConfig& config) {
        config.macros.Add({u"Reload", {}, 0x0410});
        config.macros.Add({u"Grenade \u00e9\u4e2d\U0001F600", {}, 0x0700 + 0xA0});
        config.macros.Add({u"Shadowed", {}, 0x0410});  // the first with the id wins
        config.macros.Add({u"%{095}", {}, 0x3001});    // names are not text references
        config.macros.Add({u"Low", {}, 0x0110});
    };
    EgretConfig egret;
    IbisConfig ibis;
    CraneConfig crane;
    fill(egret);
    fill(ibis);
    fill(crane);
    struct Case {
        DeviceModel model;
        FamilyEConfig* config;
        uint8_t byte1;
        uint8_t byte2;
        std::string label;
    };
    const Case cases[] = {
        {DeviceModel::Egret, &egret, 0x04, 0x10, "Reload"},
        {DeviceModel::Egret, &egret, 0x07, 0xA0, "Grenade \u00e9\u4e2d\U0001F600"},
        {DeviceModel::Egret, &egret, 0x30, 0x01, "%{095}"},
        {DeviceModel::Egret, &egret, 0x07, 0x10, T(130)},  // reserved
        {DeviceModel::Egret, &egret, 0x01, 0x10, "Low"},
        {DeviceModel::Egret, &egret, 0x09, 0x99, ""},
        {DeviceModel::Ibis, &ibis, 0x06, 0xA0, T(130)},
        {DeviceModel::Ibis, &ibis, 0x07, 0x10, ""},
        {DeviceModel::Ibis, &ibis, 0x07, 0xA0, "Grenade \u00e9\u4e2d\U0001F600"},
        {DeviceModel::Ibis, &ibis, 0x01, 0x10, "Low"},
        {DeviceModel::Crane, &crane, 0x01, 0x10, T(130)},  // reserved whatever byte 2 says
        {DeviceModel::Crane, &crane, 0x01, 0x00, T(130)},
        {DeviceModel::Crane, &crane, 0x30, 0x01, T(130)},
        {DeviceModel::Crane, &crane, 0x07, 0x10, ""},
        {DeviceModel::Crane, &crane, 0x04, 0x10, "Reload"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AssignmentLabel(c.model, *c.config, 16, c.byte1, c.byte2, 0), c.label)
            << int(c.model) << " " << int{c.byte1} << " " << int{c.byte2};
    EgretConfig empty;
    EXPECT_EQ(Label(DeviceModel::Egret, empty, {16, 0, 0, 0}), "");
}

TEST_F(FamilyELabelTest, BrokenSurrogatesInMacroNamesBecomeReplacementCharacters) {
    EgretConfig config;
    config.macros.Add({std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)}, {}, 5});
    config.macros.Add({std::u16string{char16_t(0xD83D)}, {}, 6});  // cut off at the end
    EXPECT_EQ(Label(DeviceModel::Egret, config, {16, 0, 5, 0}), "a\uFFFDb\uFFFD");
    EXPECT_EQ(Label(DeviceModel::Egret, config, {16, 0, 6, 0}), "\uFFFD");
}

TEST_F(FamilyELabelTest, KeySlotFormUsesTheRecordsModel) {
    CraneConfig crane;
    EXPECT_EQ(AssignmentLabel(crane, KeySlot{{16, 0x30, 0, 0}, 0}), T(130));
    EgretConfig egret;
    EXPECT_EQ(AssignmentLabel(egret, KeySlot{{16, 0x30, 0, 0}, 0}), "");
}
