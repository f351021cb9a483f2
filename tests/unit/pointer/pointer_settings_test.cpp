// The pointer settings against a settings file in a private XDG_CONFIG_HOME and a desktop that
// takes nothing, so every value lands in the file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "mouse/PointerSettings.h"
#include "platform/Paths.h"
#include "platform/PointerSettingsStore.h"

namespace {

namespace fs = std::filesystem;
using mouse::PointerSettings;
using mouse::PointerValues;
using Store = platform::PointerSettingsStore;

class NoDesktop final : public platform::PointerDesktop {
  public:
    bool GetAcceleration(bool&) override { return false; }
    bool SetAcceleration(bool) override { return false; }
    bool GetSpeed(int&) override { return false; }
    bool SetSpeed(int) override { return false; }
    bool SetDoubleClickTime(int) override { return false; }
    bool SetWheelScrollLines(int) override { return false; }
};

class Pointer : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) / ("pointer_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
        platform::SetPointerDesktop(std::make_shared<NoDesktop>());
    }
    void TearDown() override {
        platform::SetPointerDesktop(nullptr);
        fs::remove_all(folder_);
    }
    fs::path folder_;
};

TEST(PointerSteps, TablesAndTheirInverses) {
    struct Case {
        int speed, step;
    };
    for (Case c :
         {Case{0, 1}, {1, 1}, {2, 2}, {3, 2}, {7, 4}, {18, 10}, {19, 10}, {20, 11}, {21, 0}, {-1, 0}})
        EXPECT_EQ(PointerSettings::StepOfSpeed(c.speed), c.step) << c.speed;
    EXPECT_EQ(PointerSettings::SpeedOfStep(4), 6);
    EXPECT_EQ(PointerSettings::SpeedOfStep(1), 1);
    EXPECT_EQ(PointerSettings::SpeedOfStep(11), 20);
    EXPECT_EQ(PointerSettings::SpeedOfStep(40), 20);  // outside the table: the nearest end
    for (int step = 1; step <= 11; ++step)
        EXPECT_EQ(PointerSettings::StepOfDoubleClickTime(
                      static_cast<unsigned>(PointerSettings::DoubleClickTimeOfStep(step))),
                  step);
    EXPECT_EQ(PointerSettings::StepOfDoubleClickTime(5000), 1);
    EXPECT_EQ(PointerSettings::StepOfDoubleClickTime(269), 11);
}

TEST_F(Pointer, ReadRulesFromTheRegistryValues) {
    struct Case {
        const char* doubleClick;
        const char* wheel;  // null: no Desktop key at all
        PointerValues expected;
    };
    const Case cases[] = {
        {"480", "-1", {0, 1, 7, 6, -1}},    {"-1", "0", {0, 0, 1, 6, 3}},  // unsigned: -1 is a very long time
        {"abc", "lots", {0, 0, 6, 6, 3}},                                  // no number: the defaults
        {"200", nullptr, {0, 0, 11, 6, 6}}, {"900", "7", {0, 0, 1, 6, 7}},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder_ / "oakridge");
        ASSERT_TRUE(Store::SetValues(Store::kMouseKey,
                                     {{"DoubleClickSpeed", c.doubleClick}, {"MouseSensitivity", "10"}}));
        if (c.wheel) {
            ASSERT_TRUE(Store::SetValues(Store::kDesktopKey, {{"WheelScrollLines", c.wheel}}));
        }
        PointerValues v;
        PointerSettings::ReadFromSystem(v);
        EXPECT_EQ(v, c.expected) << c.doubleClick << " " << (c.wheel ? c.wheel : "-");
    }
}

TEST_F(Pointer, ApplyWritesTheWindowsValuesAndReadsBack) {
    PointerValues v{1, 0, 3, 4, 9};
    PointerSettings::ApplyToSystem(v);
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "MouseSpeed"), "1");
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "MouseThreshold1"), "6");
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "MouseThreshold2"), "10");
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "DoubleClickSpeed"), "760");
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "mousesensitivity"), "6");  // names ignore case
    EXPECT_EQ(Store::QueryValue(Store::kDesktopKey, "WheelScrollLines"), "9");
    PointerValues back;
    PointerSettings::ReadFromSystem(back);
    EXPECT_EQ(back, v);

    v.enhancePrecision = 0;
    v.scrollByScreen = 1;
    PointerSettings::ApplyToSystem(v);
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "MouseThreshold2"), "0");
    EXPECT_EQ(Store::QueryValue(Store::kDesktopKey, "WheelScrollLines"), "-1");
}

TEST_F(Pointer, AStrangeFileNeverBreaksReading) {
    fs::create_directories(folder_ / "oakridge");
    ASSERT_TRUE(platform::WriteFileAtomic(
        Store::FilePath(), "garbage\n=\n[\n[Control Panel\\Mouse]\nno equals\nDoubleClickSpeed = 340 \n"));
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "DoubleClickSpeed"), "340");
    EXPECT_FALSE(Store::KeyExists(Store::kDesktopKey));
    ASSERT_TRUE(Store::SetValues(Store::kMouseKey, {{"Odd", "line\nbreak"}}));
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "Odd"), "line break");
    EXPECT_EQ(Store::QueryValue(Store::kMouseKey, "DoubleClickSpeed"), "340");
}

}  // namespace
