// Labels of the three-byte codes of the Heron and the Heron driver; macro names come from the
// binding's macro cache, which asks the simulated device for an id it lacks.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "AssignTestSupport.h"
#include "DeviceTestSupport.h"
#include "assign/AssignmentLabel.h"

using assign::AssignmentLabel;

namespace {

constexpr DeviceModel kFamilyH[] = {DeviceModel::Heron, DeviceModel::HeronDriver};

class FamilyHLabelTest : public DeviceTest {
  protected:
    void TearDown() override {
        for (DeviceModel model : kFamilyH) Binding().MacroCache(model)->Clear();
        DeviceTest::TearDown();
    }

    static std::string Label(DeviceModel model, std::array<uint8_t, 3> c) {
        return AssignmentLabel(model, c[0], c[1], c[2], Binding());
    }

  private:
    TestTexts texts_;
};

}  // namespace

TEST_F(FamilyHLabelTest, ClassesAndParameters) {
    struct Case {
        std::array<uint8_t, 3> code;
        std::string label;
    };
    const Case cases[] = {
        {{0, 0, 0}, T(95)},
        {{1, 1, 0}, T(54)},
        {{1, 2, 0}, T(55)},
        {{1, 4, 0}, T(56)},
        {{1, 8, 0}, T(79)},
        {{1, 16, 0}, T(78)},
        {{1, 32, 0}, ""},
        {{2, 8, 7}, T(99)},
        {{2, 0x03, 0x06}, "Ctrl+Shift+C"},
        {{2, 0x05, 0}, "Ctrl+Alt"},
        {{2, 0, 0}, ""},
        {{2, 0x0C, 0x07}, "Alt+Win+D"},
        {{2, 0, 0x91}, "Right Ctrl"},
        {{3, 0, 0xCD}, T(22)},
        {{3, 1, 0x94}, T(29)},
        {{3, 2, 0x2A}, T(36)},
        {{3, 2, 0x00}, ""},
        {{5, 0, 0}, T(89)},
        {{7, 0, 0}, T(90)},
        {{8, 0, 0}, T(91)},
        {{9, 0, 0}, T(92)},
        {{10, 0, 0}, T(93)},
        {{13, 0, 0}, T(98)},
        {{15, 0, 0}, T(96)},
        {{16, 3, 3}, T(94)},
        {{12, 0, 0}, ""},
        {{12, 1, 0}, T(100)},
        {{12, 2, 0}, T(101)},
        {{12, 3, 0}, T(102)},
        {{12, 4, 0}, T(103)},
        {{12, 5, 0}, T(104)},
        {{12, 6, 0}, T(105)},
        {{12, 7, 0}, T(105)},
        {{12, 8, 0}, T(106)},
        {{12, 9, 0}, T(106)},
        {{12, 10, 0}, T(106)},
        {{12, 11, 0}, ""},
        {{6, 0, 0xF0}, T(97)},
        {{14, 0, 0xF0}, T(97)},
        {{4, 1, 1}, ""},
        {{11, 1, 1}, ""},
        {{17, 0, 0}, ""},
        {{255, 255, 255}, ""},
    };
    for (DeviceModel model : kFamilyH)
        for (const Case& c : cases)
            EXPECT_EQ(Label(model, c.code), c.label)
                << int(model) << ": " << int{c.code[0]} << " " << int{c.code[1]} << " " << int{c.code[2]};
}

TEST_F(FamilyHLabelTest, OtherModelsGetNoLabel) {
    for (DeviceModel model : {DeviceModel::Egret, DeviceModel::Ibis, DeviceModel::Crane, DeviceModel::Plover})
        for (std::array<uint8_t, 3> code : {std::array<uint8_t, 3>{0, 0, 0}, {6, 0, 0xF0}, {6, 1, 0x21}})
            EXPECT_EQ(Label(model, code), "") << int(model);
}

TEST_F(FamilyHLabelTest, MacroNamesComeFromTheCacheAndAMissFetchesFromTheDeviceOnce) {
    ASSERT_TRUE(OpenAll());
    const std::vector<uint8_t> events = {0x01, 0x08, 0xFD, 0x00, 0x82, 0x04, 0x02, 0x04, 0xFC, 0xD7};
    struct ModelCase {
        DeviceModel model;
        int id;
        const char* getEntry;
    };
    const ModelCase models[] = {{DeviceModel::Heron, 256 + 33, "Device_Get_Marco_Buffer_Heron"},
                                {DeviceModel::HeronDriver, 256 + 32, "Device_Get_Marco_Buffer_Heron_Driver"}};
    for (const ModelCase& m : models) {
        SimControl sim(m.model);
        HeronMacroCache* cache = Binding().MacroCache(m.model);
        std::vector<uint8_t> encoded = events;
        if (m.model == DeviceModel::HeronDriver) encoded.insert(encoded.begin() + 1, 0x00);  // 16-bit length
        cache->Put(m.id, {u"Reload \u00e9", encoded, 0});
        ASSERT_TRUE(Binding().WriteMacroBuffer(m.model, m.id));
        cache->Clear();
        cache->Put(0x0421, {u"Cached only", {}, 0});

        sim.ResetCallCounts();
        const auto high = static_cast<uint8_t>(m.id >> 8);
        const auto low = static_cast<uint8_t>(m.id & 0xFF);
        EXPECT_EQ(Label(m.model, {14, 0x04, 0x21}), "Cached only");
        EXPECT_EQ(Label(m.model, {6, 0, 0xF0}), T(97));
        EXPECT_EQ(sim.CallCount(m.getEntry), 0);  // neither asks the device

        EXPECT_EQ(Label(m.model, {6, high, low}), "Reload \u00e9");
        EXPECT_EQ(sim.CallCount(m.getEntry), 1);
        EXPECT_EQ(Label(m.model, {14, high, low}), "Reload \u00e9");
        EXPECT_EQ(Label(m.model, {6, high, low}), "Reload \u00e9");
        EXPECT_EQ(sim.CallCount(m.getEntry), 1);  // cached since
    }
}

TEST_F(FamilyHLabelTest, AMacroTheDeviceCannotGiveLabelsEmpty) {
    EXPECT_EQ(Label(DeviceModel::Heron, {6, 0x12, 0x34}), "");  // device not open
    ASSERT_TRUE(OpenAll());
    EXPECT_EQ(Label(DeviceModel::Heron, {6, 0x12, 0x34}), "");
    EXPECT_EQ(Label(DeviceModel::HeronDriver, {14, 0xFF, 0xFF}), "");
    EXPECT_TRUE(Binding().MacroCache(DeviceModel::Heron)->Ids().empty());
}
