// What the Egret page keeps when the mouse answers badly or goes away at the wrong moment, and how
// the desktop pointer sliders reach the system.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "AppFixture.h"
#include "SimControl.h"
#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"
#include "mouse/AdvancedSettings.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/ColorPicker.h"
#include "mouse/PageOperation.h"
#include "mouse/PointerSettings.h"
#include "platform/Paths.h"
#include "platform/PointerSettingsStore.h"
#include "ui/core/Messages.h"

namespace {

constexpr const char* kMain = "Oakridge";
constexpr std::array<uint8_t, 8> kBlock = {0, 4, 12, 13, 17, 22, 27, 31};

class EgretRead : public oaktest::AppFixture {
  protected:
    mouse::CDialogMouseEgretSetting& Page() {
        return PageOf<mouse::CDialogMouseEgretSetting>(DeviceModel::Egret);
    }
    EgretConfig& Record() { return Page().Egret(); }
    // Usable before the program starts, when the skin's ids are not read yet.
    DeviceLibraryBinding& Device() {
        auto& b = DeviceLibraryBinding::Instance();
        b.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, int32_t{0});
        return b;
    }
    int32_t DeviceInt(EntryPoint get) {
        int32_t value = -1;
        Device().Call(get, &value);
        return value;
    }
    // Unplugs and plugs the mouse: the page goes disconnected, then reads the mouse again.
    // `beforePlug` runs while it is away.
    void Reconnect(const std::function<void()>& beforePlug = {}) {
        SimControl egret(DeviceModel::Egret);
        for (bool attached : {false, true}) {
            if (attached && beforePlug) beforePlug();
            egret.SetAttached(attached);
            Frame().PostMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
            ASSERT_TRUE(Ui().RunUntil([&] { return Page().IsConnected() == attached; }));
            WaitForDeviceTasks();
        }
    }
    size_t Writes(const oaktest::NotificationRecorder& r, int operation) {
        size_t n = 0;
        for (const auto& e : r.Entries()) n += e.type == "WRITE_EgretDATA" && e.lParam == operation;
        return n;
    }
};

TEST_F(EgretRead, AFailedGroupReadKeepsWhatThePageHeld) {
    // A LED-strip mouse whose every group holds something other than a fresh record's values.
    SimControl(DeviceModel::Egret).SetVariant(1);
    auto& d = Device();
    d.Call(EntryPoint::Devcie_Set_Key_Mode_Egret, int32_t{1});
    d.Call(EntryPoint::Devcie_Set_Report_Rate_Egret, int32_t{2});
    d.Call(EntryPoint::Device_Set_Number_CPI_Egret, int32_t{5});
    d.Call(EntryPoint::Device_Set_Current_CPI_Gear_Egret, int32_t{3});
    d.Call(EntryPoint::Device_Set_Fire_Key_Data_Egret, int32_t{0}, int32_t{4}, int32_t{120});
    d.Call(EntryPoint::Devcie_Set_Led_Mode_Data_Egret, kBlock.data());
    ShowDevice(3);
    ASSERT_TRUE(Page().IsConnected());
    const EgretConfig held = Record();
    ASSERT_EQ(held.deviceKind, 1);
    ASSERT_EQ(held.currentProfile, 1);
    ASSERT_EQ(held.reportRate, 2);
    ASSERT_EQ(held.stageCount, 5);
    ASSERT_EQ(held.currentStage, 3);
    ASSERT_EQ(held.rapidFire[0].interval, 120);
    ASSERT_EQ(held.ledEffectBlock, kBlock);

    struct Case {
        const char* entry;
        std::function<void(const EgretConfig&)> check;
    };
    const Case cases[] = {
        {"ReadDeviceData_Egret",
         [](const EgretConfig& c) {
             EXPECT_EQ(c.deviceKind, 1);
             EXPECT_EQ(c.uartLeds.size(), 32u);
         }},
        {"Devcie_Get_Key_Mode_Egret", [](const EgretConfig& c) { EXPECT_EQ(c.currentProfile, 1); }},
        {"Devcie_Get_Report_Rate_Egret", [](const EgretConfig& c) { EXPECT_EQ(c.reportRate, 2); }},
        {"Device_Get_Number_CPI_Egret", [](const EgretConfig& c) { EXPECT_EQ(c.stageCount, 5); }},
        {"Device_Get_Current_CPI_Gear_Egret", [](const EgretConfig& c) { EXPECT_EQ(c.currentStage, 3); }},
        {"Device_Get_Fire_Key_Data_Egret",
         [](const EgretConfig& c) {
             EXPECT_EQ(c.rapidFire[0], (RapidFireSlot{4, 120, c.rapidFire[0].continuous}));
         }},
        {"Devcie_Get_Led_Mode_Data_Egret", [](const EgretConfig& c) { EXPECT_EQ(c.ledEffectBlock, kBlock); }},
    };
    SimControl egret(DeviceModel::Egret);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        Reconnect([&] { egret.Inject(c.entry, 0); });
        egret.ClearFailures();
        ASSERT_TRUE(Page().IsConnected());
        c.check(Record());
    }

    // The strip variant still gets its own lighting page after a failed variant read.
    Reconnect([&] { egret.Inject("ReadDeviceData_Egret", 0); });
    egret.ClearFailures();
    Ui().Click("led_Settings_Egret", kMain);
    EXPECT_TRUE(Ui().Find("uart_led_page_Egret", kMain).IsShown());
    EXPECT_FALSE(Ui().Find("light_page_Egret", kMain).IsShown());
}

TEST_F(EgretRead, AStageOutsideTheEnabledOnesIsIgnored) {
    // The mouse reports stage 6 of 3 enabled ones: the page keeps an enabled stage and writes it.
    auto& d = Device();
    d.Call(EntryPoint::Device_Set_Current_CPI_Gear_Egret, int32_t{6});
    d.Call(EntryPoint::Device_Set_Number_CPI_Egret, int32_t{3});
    ShowDevice(3);
    ASSERT_EQ(Record().stageCount, 3);
    const int shown = Record().currentStage;
    EXPECT_GE(shown, 1);
    EXPECT_LE(shown, 3);
    EXPECT_TRUE(Ui().IsSelected("result_DPI" + std::to_string(shown) + "_check_Egret", kMain));
    int level = Ui().Value("result_DPI1_slider_Egret", kMain);
    Ui().DragSlider("result_DPI1_slider_Egret", level + 1, kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(DeviceInt(EntryPoint::Device_Get_Current_CPI_Gear_Egret), shown);

    // The mouse's own stage button, after something else enabled more stages than the page knows of:
    // its report of stage 3 is outside the page's two.
    Ui().SelectComboItem("result_DPI_count_setting_Egret", 1, kMain);  // two stages, stage 2 active
    WaitForDeviceTasks();
    ASSERT_EQ(Record().currentStage, 2);
    Device().Call(EntryPoint::Device_Set_Number_CPI_Egret, int32_t{7});
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    SimControl egret(DeviceModel::Egret);
    const int profile = Record().currentProfile;
    // Stage up (to 3), then the profile button: once the new profile shows, the stage was reported.
    egret.Press(1);
    egret.Press(0);
    ASSERT_TRUE(Ui().RunUntil([&] { return Record().currentProfile != profile; }));
    EXPECT_EQ(DeviceInt(EntryPoint::Device_Get_Current_CPI_Gear_Egret), 3);
    EXPECT_EQ(Record().currentStage, 2);
    EXPECT_TRUE(Ui().IsSelected("result_DPI2_check_Egret", kMain));
    EXPECT_EQ(Writes(recorder, mouse::kOpStages), 0u);

    // Within the enabled stages a report is taken as before.
    Device().Call(EntryPoint::Device_Set_Number_CPI_Egret, int32_t{3});
    egret.Press(1);  // from stage 3 of 3 round to 1
    ASSERT_TRUE(Ui().RunUntil([&] { return Record().currentStage != 2; }));
    EXPECT_EQ(Record().currentStage, 1);
    EXPECT_TRUE(Ui().IsSelected("result_DPI1_check_Egret", kMain));
}

TEST_F(EgretRead, AReconnectionDuringTheColourPickerIsSeenAfterIt) {
    // Only three stages read at first; the mouse answers fully when it comes back while the picker
    // is open, so the page's stage list is rebuilt under the picker.
    SimControl egret(DeviceModel::Egret);
    egret.Inject("Device_Get_CPI_Value_Egret", 4);
    ShowDevice(3);
    egret.ClearFailures();
    ASSERT_EQ(Record().stages.size(), 3u);
    mouse::ColorPicker::SetChooser([&](ui::WindowImplBase&, uint32_t& argb) {
        Reconnect();
        argb = 0xFF123456;
        return true;
    });
    Ui().Click("result_DPI2_color_Egret", kMain);
    WaitForDeviceTasks();
    ASSERT_EQ(Record().stages.size(), 7u);
    EXPECT_EQ(Record().stages[1].red, 0x12);
    EXPECT_EQ(Record().stages[1].blue, 0x56);
    uint8_t r = 0, g = 0, b = 0;
    Device().Call(EntryPoint::Device_Get_CPI_Color_Egret, int32_t{1}, &r, &g, &b);
    EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{0x12, 0x34, 0x56}));
    EXPECT_EQ(Ui().Find("result_DPI2_color_Egret", kMain).GetBkColor(), 0xFF123456u);
}

TEST_F(EgretRead, AStageGoneAfterTheColourPickerIsLeftAlone) {
    SimControl egret(DeviceModel::Egret);
    ShowDevice(3);
    ASSERT_EQ(Record().stages.size(), 7u);
    ASSERT_GE(Record().stageCount, 3);
    const uint32_t before = Ui().Find("result_DPI3_color_Egret", kMain).GetBkColor();
    bool picked = false;
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    mouse::ColorPicker::SetChooser([&](ui::WindowImplBase&, uint32_t& argb) {
        Reconnect([&] { egret.Inject("Device_Get_CPI_Value_Egret", 3); });  // two stages come back
        picked = true;
        argb = 0xFF654321;
        return true;
    });
    Ui().Click("result_DPI3_color_Egret", kMain);
    WaitForDeviceTasks();
    egret.ClearFailures();
    ASSERT_TRUE(picked);
    EXPECT_EQ(Record().stages.size(), 2u);
    EXPECT_EQ(Writes(recorder, mouse::kOpStages), 0u);
    EXPECT_EQ(Ui().Find("result_DPI3_color_Egret", kMain).GetBkColor(), before);
}

// Takes speed and acceleration and notes the thread of every call; the rest goes to the file.
class ThreadNotingDesktop final : public platform::PointerDesktop {
  public:
    struct Call {
        std::string what;
        std::thread::id thread;
    };
    std::vector<Call> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    bool GetAcceleration(bool& on) override { return on = false, true; }
    bool SetAcceleration(bool on) override { return Note("accel " + std::to_string(on)), true; }
    bool GetSpeed(int& s) override { return s = 10, true; }
    bool SetSpeed(int s) override { return Note("speed " + std::to_string(s)), true; }
    bool SetDoubleClickTime(int) override { return false; }
    bool SetWheelScrollLines(int) override { return false; }

  private:
    void Note(std::string what) {
        std::lock_guard lock(mutex_);
        calls_.push_back({std::move(what), std::this_thread::get_id()});
    }
    std::mutex mutex_;
    std::vector<Call> calls_;
};

// Counts the times the settings file is replaced.
class FileReplacements {
  public:
    explicit FileReplacements(const std::string& folder) : fd_(inotify_init1(IN_NONBLOCK)) {
        if (fd_ >= 0) inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO);
    }
    ~FileReplacements() {
        if (fd_ >= 0) close(fd_);
    }
    int Of(const std::string& name) {
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                auto* e = reinterpret_cast<inotify_event*>(p);
                if (e->len && name == e->name) ++count_;
                p += sizeof(inotify_event) + e->len;
            }
        }
        return count_;
    }
    bool Ok() const { return fd_ >= 0; }

  private:
    int fd_;
    int count_ = 0;
};

TEST_F(EgretRead, PointerSlidersApplyOnceTheySettleAndOffTheWindowThread) {
    auto desktop = std::make_shared<ThreadNotingDesktop>();
    platform::SetPointerDesktop(desktop);
    mouse::PointerSettings::Instance().Set({});
    ASSERT_TRUE(platform::PointerSettingsStore::SetValues(platform::PointerSettingsStore::kMouseKey,
                                                          {{"DoubleClickSpeed", "550"}}));
    ShowDevice(3);
    Ui().Click("advanced_Settings_Egret", kMain);
    const std::string file = platform::PointerSettingsStore::FilePath();
    FileReplacements replaced(platform::UserConfigFolder());
    ASSERT_TRUE(replaced.Ok());
    auto& settings = mouse::PointerSettings::Instance();
    constexpr int kSettle = mouse::AdvancedSettings::kSettleMs;

    // A drag over several steps, a pause shorter than the settling time, then another slider.
    const int speedFrom = Ui().Value("mouse_system_speed_Egret", kMain);
    const int speedTo = speedFrom <= 6 ? speedFrom + 5 : speedFrom - 5;
    Ui().DragSlider("mouse_system_speed_Egret", speedTo, kMain);
    EXPECT_EQ(settings.Get().speedStep, speedTo);  // the record follows at once
    Ui().AdvanceClock(kSettle / 2);
    Ui().DragSlider("mouse_system_double_speed_Egret", 9, kMain);
    settings.WaitUntilApplied();
    EXPECT_TRUE(desktop->Calls().empty());
    EXPECT_EQ(replaced.Of("pointer-settings.ini"), 0);

    Ui().AdvanceClock(kSettle + 50);
    settings.WaitUntilApplied();
    auto calls = desktop->Calls();
    std::vector<std::string> speeds;
    for (const auto& c : calls) {
        EXPECT_NE(c.thread, std::this_thread::get_id()) << c.what;
        if (c.what.starts_with("speed")) speeds.push_back(c.what);
    }
    EXPECT_EQ(speeds, std::vector<std::string>{"speed " +
                                               std::to_string(mouse::PointerSettings::SpeedOfStep(speedTo))});
    EXPECT_EQ(replaced.Of("pointer-settings.ini"), 1);
    EXPECT_EQ(platform::PointerSettingsStore::QueryValue(platform::PointerSettingsStore::kMouseKey,
                                                         "DoubleClickSpeed"),
              std::to_string(mouse::PointerSettings::DoubleClickTimeOfStep(9)));
    EXPECT_EQ(platform::PointerSettingsStore::QueryValue(platform::PointerSettingsStore::kMouseKey,
                                                         "MouseSensitivity"),
              std::to_string(mouse::PointerSettings::SpeedOfStep(speedTo)));

    // Nothing more happens once it has settled.
    Ui().AdvanceClock(3 * kSettle);
    settings.WaitUntilApplied();
    EXPECT_EQ(desktop->Calls().size(), calls.size());
    EXPECT_EQ(replaced.Of("pointer-settings.ini"), 1);
}

TEST_F(EgretRead, APointerValueNotYetSettledIsAppliedWhenTheWindowCloses) {
    mouse::PointerSettings::Instance().Set({});
    ShowDevice(3);
    Ui().Click("advanced_Settings_Egret", kMain);
    Ui().DragSlider("mouse_system_double_speed_Egret", 2, kMain);
    frame_.reset();
    EXPECT_EQ(platform::PointerSettingsStore::QueryValue(platform::PointerSettingsStore::kMouseKey,
                                                         "DoubleClickSpeed"),
              std::to_string(mouse::PointerSettings::DoubleClickTimeOfStep(2)));
}

}  // namespace
