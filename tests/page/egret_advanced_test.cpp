// The Egret page's lighting, profile files, report rate, rapid fire and desktop pointer settings,
// against the simulated Egret and a fake desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "AppFixture.h"
#include "SimControl.h"
#include "TextFit.h"
#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/PointerSettings.h"
#include "mouse/ProfileFiles.h"
#include "platform/Paths.h"
#include "platform/PointerSettingsStore.h"
#include "ui/controls/Edit.h"
#include "ui/text/TextTable.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kMain = "Oakridge";
constexpr size_t kImage = 2048;

// A desktop that takes acceleration and speed and remembers them; the rest goes to the file.
class FakeDesktop final : public platform::PointerDesktop {
  public:
    bool acceleration = false;
    int speed = 7;
    std::vector<std::string> calls;
    bool GetAcceleration(bool& on) override { return on = acceleration, true; }
    bool SetAcceleration(bool on) override {
        return calls.push_back("accel " + std::to_string(on)), acceleration = on, true;
    }
    bool GetSpeed(int& s) override { return s = speed, true; }
    bool SetSpeed(int s) override { return calls.push_back("speed " + std::to_string(s)), speed = s, true; }
    bool SetDoubleClickTime(int) override { return false; }
    bool SetWheelScrollLines(int) override { return false; }
};

class EgretAdvanced : public oaktest::AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        platform::SetPointerDesktop(desktop_);
        mouse::PointerSettings::Instance().Set({});
        mouse::ProfileFiles::SetMessageShower(
            [this](ui::WindowImplBase*, const std::string& text) { messages_.push_back(text); });
        cwd_ = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(cwd_);
        mouse::ProfileFiles::SetMessageShower(nullptr);
        platform::SetPointerDesktop(nullptr);
        AppFixture::TearDown();
    }
    void OpenEgret() { ShowDevice(3); }
    void ShowSection(const char* button) {
        Ui().Click(button, kMain);
        Ui().RunUntilIdle();
    }
    mouse::CDialogMouseEgretSetting& Page() {
        return PageOf<mouse::CDialogMouseEgretSetting>(DeviceModel::Egret);
    }
    DeviceLibraryBinding& Binding() { return OpenedMouse(DeviceModel::Egret); }
    std::vector<uint8_t> DeviceImage() {
        std::vector<uint8_t> image(kImage);
        Binding().Call(EntryPoint::EEPROM_Save_Configuration_Egret, image.data());
        return image;
    }
    std::array<uint8_t, 4> DeviceKey(int profile, int key) {
        std::array<uint8_t, 4> c{};
        Binding().Call(EntryPoint::Devcie_Get_Macro_Key_Egret, int32_t{profile}, int32_t{key}, &c[0], &c[1],
                       &c[2], &c[3]);
        return c;
    }
    RapidFireSlot DeviceSlot(int slot) {
        int32_t count = 0, interval = 0;
        Binding().Call(EntryPoint::Device_Get_Fire_Key_Data_Egret, int32_t{slot}, &count, &interval);
        return {count, interval, 0};
    }
    void Retype(const std::string& edit, const std::string& text) {
        Ui().Find<ui::Edit>(edit, kMain).SetText("", ui::Notify::No);
        Ui().Type(edit, text, kMain);
        WaitForDeviceTasks();
    }
    std::map<std::string, std::string> SettingsFile() {
        std::map<std::string, std::string> values;
        std::ifstream in(platform::PointerSettingsStore::FilePath());
        std::string line, key;
        while (std::getline(in, line)) {
            if (line.starts_with("["))
                key = line.substr(1, line.size() - 2);
            else if (auto eq = line.find('='); eq != std::string::npos)
                values[key + "/" + line.substr(0, eq)] = line.substr(eq + 1);
        }
        return values;
    }
    size_t Writes(oaktest::NotificationRecorder& r, int op) {
        size_t n = 0;
        for (const auto& e : r.Entries()) n += e.type == "WRITE_EgretDATA" && e.lParam == op;
        return n;
    }

    std::shared_ptr<FakeDesktop> desktop_ = std::make_shared<FakeDesktop>();
    std::vector<std::string> messages_;
    fs::path cwd_;
};

TEST_F(EgretAdvanced, LightingEditsReachTheMouseAndUnknownModesSelectNothing) {
    OpenEgret();
    ShowSection("led_Settings_Egret");
    // Factory: mode 2 (rainbow), all lights.
    EXPECT_TRUE(Ui().IsSelected("result_LED_mode_rainbow_Egret", kMain));
    EXPECT_TRUE(Ui().IsSelected("result_LED_light_all_Egret", kMain));

    Ui().Click("result_LED_mode_waltz_Egret", kMain);
    Ui().Click("result_LED_light_half_Egret", kMain);
    WaitForDeviceTasks();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    const int from = Ui().Value("result_mode_speed_Egret", kMain);
    Ui().DragSlider("result_mode_speed_Egret", from + 4, kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Writes(recorder, 8), 4u);  // every intermediate value asks for a write

    int32_t speed = -1, all = -1, mode = -1;
    Binding().Call(EntryPoint::Device_Get_LED_Breath_Rate_Egret, &speed, &all);
    Binding().Call(EntryPoint::Device_Get_LED_Breath_Mode_Egret, &mode);
    EXPECT_EQ(mode, 4);
    EXPECT_EQ(all, 0);
    EXPECT_EQ(speed, from + 4);
    Ui().Snapshot(::testing::TempDir() + "egret_lighting.png", kMain);

    Page().Egret().lightingMode = 9;
    Page().Refresh();
    ShowSection("led_Settings_Egret");
    for (const auto& m : mouse::LightingEditor::EgretModes().modes)
        EXPECT_FALSE(Ui().IsSelected(m.base + "_Egret", kMain)) << m.base;
}

TEST_F(EgretAdvanced, SavedFileLoadsBackAndThePageShowsWhatTheMouseTook) {
    OpenEgret();
    const std::string file = (TempDir() / "mine.bin").string();
    Ui().AnswerFileDialog(file);
    Ui().Click("save_data_Egret", kMain);
    WaitForDeviceTasks();
    ASSERT_EQ(fs::file_size(file), kImage);
    const auto saved = platform::ReadFileBytes(file).value();
    EXPECT_EQ(saved, DeviceImage());

    // Change the mouse, then load the file: the mouse and the page are back where they were.
    ShowSection("advanced_Settings_Egret");
    Ui().Click("result_report_rate1_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_NE(DeviceImage(), saved);
    const uint64_t before = Ui().Clock().NowMs();
    Ui().AnswerFileDialog(file);
    Ui().Click("import_data_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_GE(Ui().Clock().NowMs() - before, 500u);
    EXPECT_EQ(DeviceImage(), saved);
    EXPECT_EQ(Page().Egret().reportRate, 3);
    EXPECT_TRUE(Ui().IsSelected("result_report_rate4_Egret", kMain));
    EXPECT_EQ(Page().FilePath(), file);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(EgretAdvanced, CancelledDialogsRequestNothing) {
    OpenEgret();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    for (const char* button : {"save_data_Egret", "import_data_Egret"}) {
        Ui().AnswerFileDialog(std::nullopt);
        Ui().Click(button, kMain);
    }
    WaitForDeviceTasks();
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
}

TEST_F(EgretAdvanced, ShortFilesArePaddedLongOnesRefused) {
    OpenEgret();
    auto image = DeviceImage();
    SimControl sim(DeviceModel::Egret);

    const std::string longFile = (TempDir() / "long.bin").string();
    auto longer = image;
    longer.push_back(0);
    ASSERT_TRUE(platform::WriteFileAtomic(longFile, longer.data(), longer.size()));
    sim.ResetCallCounts();
    Ui().AnswerFileDialog(longFile);
    Ui().Click("import_data_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(sim.CallCount("EEPROM_Write_Configuration_Egret"), 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], ui::TextTable::Instance().Resolve("%{353}"));

    const std::string shortFile = (TempDir() / "short.bin").string();
    ASSERT_TRUE(platform::WriteFileAtomic(shortFile, image.data(), 300));
    Ui().AnswerFileDialog(shortFile);
    Ui().Click("import_data_Egret", kMain);
    WaitForDeviceTasks();
    auto loaded = DeviceImage();
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 300, loaded.begin()));
    EXPECT_TRUE(std::all_of(loaded.begin() + 300, loaded.end(), [](uint8_t b) { return b == 0; }));

    // The device refusing its image leaves the previous file whole and says so.
    const std::string kept = (TempDir() / "kept.bin").string();
    ASSERT_TRUE(platform::WriteFileAtomic(kept, "previous"));
    sim.Inject("EEPROM_Save_Configuration_Egret", 1);
    Ui().AnswerFileDialog(kept);
    Ui().Click("save_data_Egret", kMain);
    WaitForDeviceTasks();
    sim.ClearFailures();
    EXPECT_EQ(fs::file_size(kept), 8u);
    EXPECT_EQ(messages_.back(), ui::TextTable::Instance().Resolve("%{350}"));
}

TEST_F(EgretAdvanced, ResetLoadsTheDefaultFileOfTheProgramFolder) {
    OpenEgret();
    auto image = DeviceImage();
    image[7] = 0;  // report rate option 1
    const fs::path program = TempDir() / "program";
    const fs::path elsewhere = TempDir() / "elsewhere";
    fs::create_directories(program);
    fs::create_directories(elsewhere);
    ASSERT_TRUE(
        platform::WriteFileAtomic((program / "EgretBData_Cfg1.bin").string(), image.data(), image.size()));
    auto decoy = image;
    decoy[7] = 2;
    ASSERT_TRUE(
        platform::WriteFileAtomic((elsewhere / "EgretBData_Cfg1.bin").string(), decoy.data(), decoy.size()));
    const std::string oldFolder = AppFolder();
    SetAppFolder(program.string() + "/");
    fs::current_path(elsewhere);
    Ui().PressInNextModal("MessageBox", "btn_ok");  // yes, restore
    Ui().Click("reset_data_Egret", kMain);
    WaitForDeviceTasks();
    SetAppFolder(oldFolder);
    EXPECT_EQ(DeviceImage(), image);
    EXPECT_EQ(Page().Egret().reportRate, 0);
    EXPECT_EQ(Page().FilePath(), program.string() + "/EgretBData_Cfg1.bin");
}

TEST_F(EgretAdvanced, SlotUpdateRewritesTheMatchingFireKeysOfEveryProfile) {
    OpenEgret();
    ShowSection("advanced_Settings_Egret");
    // Factory slot 1: count 2 (shown 3), interval 60; key 8 of every profile is its fire key.
    EXPECT_EQ(Ui().Text("result_fire_count1_Egret", kMain), "3");
    EXPECT_EQ(Ui().Text("result_fire_time1_Egret", kMain), "60");
    Retype("result_fire_time1_Egret", "100");
    Ui().Click("result_fire_continue1_Egret", kMain);
    WaitForDeviceTasks();
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(DeviceKey(p, 8), (std::array<uint8_t, 4>{6, 0x92, 0, 100})) << p;
    EXPECT_EQ(Page().Egret().keyLists[2][7].code, (std::array<uint8_t, 4>{6, 0x92, 0, 100}));
    EXPECT_EQ(DeviceSlot(0).interval, 100);
    EXPECT_EQ(DeviceSlot(0).count, 2);
    Ui().Snapshot(::testing::TempDir() + "egret_advanced.png", kMain);
}

TEST_F(EgretAdvanced, CountBoxCorrections) {
    OpenEgret();
    ShowSection("advanced_Settings_Egret");
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    // Slot 2 (count 4) matches no key.
    Retype("result_fire_count2_Egret", "1");
    EXPECT_EQ(Writes(recorder, 5), 0u);
    Ui().Tab();
    WaitForDeviceTasks();
    EXPECT_EQ(Ui().Text("result_fire_count2_Egret", kMain), "0");
    EXPECT_EQ(DeviceSlot(1).count, -1);

    Retype("result_fire_count2_Egret", "16");
    EXPECT_EQ(Ui().Text("result_fire_count2_Egret", kMain), "15");
    EXPECT_EQ(DeviceSlot(1).count, 14);
    Retype("result_fire_time2_Egret", "5000");
    EXPECT_EQ(Ui().Text("result_fire_time2_Egret", kMain), "4096");
    EXPECT_EQ(DeviceSlot(1).interval, 4096);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(DeviceKey(p, 8), (std::array<uint8_t, 4>{6, 0x12, 0, 60})) << p;
}

TEST_F(EgretAdvanced, FireKeysWithoutIntervalAreLeftAlone) {
    OpenEgret();
    for (int p = 0; p < 3; ++p) {
        Binding().Call(EntryPoint::Devcie_Set_Macro_Key_Egret, int32_t{p + 1}, int32_t{8}, int32_t{6},
                       int32_t{0x12}, int32_t{0}, int32_t{0});
        Page().Egret().keyLists[p][7].code = {6, 0x12, 0, 0};
    }
    ShowSection("advanced_Settings_Egret");
    Retype("result_fire_time1_Egret", "90");
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(DeviceKey(p, 8), (std::array<uint8_t, 4>{6, 0x12, 0, 0})) << p;
    EXPECT_EQ(DeviceSlot(0).interval, 90);
}

TEST_F(EgretAdvanced, PointerSettingsReadAndWriteWithTheWindowsNames) {
    ASSERT_TRUE(
        platform::PointerSettingsStore::SetValues("Control Panel\\Desktop", {{"WheelScrollLines", "-1"}}));
    ASSERT_TRUE(
        platform::PointerSettingsStore::SetValues("Control Panel\\Mouse", {{"DoubleClickSpeed", "480"}}));
    desktop_->speed = 7;
    OpenEgret();
    ShowSection("advanced_Settings_Egret");
    EXPECT_FALSE(Ui().IsEnabled("mouse_system_screen_speed_Egret", kMain));
    EXPECT_TRUE(Ui().IsSelected("result_mouse_system_isscreen_Egret", kMain));
    EXPECT_EQ(Ui().Value("mouse_system_speed_Egret", kMain), 4);
    EXPECT_EQ(Ui().Value("mouse_system_double_speed_Egret", kMain), 7);
    EXPECT_FALSE(Ui().IsSelected("result_mouse_system_iscontrol_Egret", kMain));

    Ui().Click("result_mouse_system_iscontrol_Egret", kMain);
    mouse::PointerSettings::Instance().WaitUntilApplied();
    auto file = SettingsFile();
    EXPECT_EQ(file["Control Panel\\Mouse/MouseSensitivity"], "6");
    EXPECT_EQ(file["Control Panel\\Mouse/MouseSpeed"], "1");
    EXPECT_EQ(file["Control Panel\\Mouse/MouseThreshold1"], "6");
    EXPECT_EQ(file["Control Panel\\Mouse/MouseThreshold2"], "10");
    EXPECT_EQ(file["Control Panel\\Mouse/DoubleClickSpeed"], "480");
    EXPECT_EQ(file["Control Panel\\Desktop/WheelScrollLines"], "-1");
    EXPECT_EQ(desktop_->speed, 6);
    EXPECT_TRUE(desktop_->acceleration);

    Ui().Click("result_mouse_system_isscreen_Egret", kMain);
    EXPECT_TRUE(Ui().IsEnabled("mouse_system_screen_speed_Egret", kMain));
    Ui().DragSlider("mouse_system_double_speed_Egret", 11, kMain);
    Ui().AdvanceClock(mouse::AdvancedSettings::kSettleMs);
    mouse::PointerSettings::Instance().WaitUntilApplied();
    file = SettingsFile();
    EXPECT_EQ(file["Control Panel\\Mouse/DoubleClickSpeed"], "200");
    EXPECT_EQ(file["Control Panel\\Desktop/WheelScrollLines"],
              std::to_string(Ui().Value("mouse_system_screen_speed_Egret", kMain)));
    EXPECT_EQ(mouse::PointerSettings::Instance().Get().doubleClickStep, 11);
}

TEST_F(EgretAdvanced, TextsFitInEveryLanguage) {
    OpenEgret();
    for (const char* section : {"advanced_Settings_Egret", "led_Settings_Egret"}) {
        ShowSection(section);
        for (int i = 1; i <= 15; ++i) {
            std::string option = "language_" + std::to_string(i);
            Ui().Click(option, kMain);
            for (const auto& problem : oaktest::TextFitProblems(Frame()))
                ADD_FAILURE() << section << " " << Ui().Text(option, kMain) << ": " << problem;
        }
    }
}

}  // namespace
