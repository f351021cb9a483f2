// Page writes as the user makes them: requests made while the mouse is busy keep what the user did
// at the time, failed writes say so, and the progress window stays out of the way of what follows.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AppFixture.h"
#include "SimControl.h"
#include "TextFit.h"
#include "app/ReadProgress.h"
#include "assign/KeyEdit.h"
#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/PageOperation.h"
#include "mouse/ProfileFiles.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "ui/core/Container.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kMain = "Oakridge";
constexpr const char* kEd = "KeyEdit_Egret";
constexpr size_t kImage = 2048;
using Code = std::array<uint8_t, 4>;

// The test's clock, with the device workers' waits held until the test lets them go. A profile
// file save waits after its transfer, so a save is a task that stays busy for as long as the test
// needs, whatever the machine's speed. Waits on the test's own thread never block.
class GatedClock final : public platform::Clock {
  public:
    explicit GatedClock(platform::ManualClock& inner) : inner_(inner) {}
    uint64_t NowMs() const override { return inner_.NowMs(); }
    void SleepMs(uint32_t ms) override {
        if (std::this_thread::get_id() != ui_) {
            thread_local uint64_t ticket = 0;  // one per worker thread, even when an id is reused
            std::unique_lock lock(mutex_);
            if (ticket == 0) ticket = ++tickets_;
            if (!open_ && passed_ != ticket) {
                waiting_ = ticket;
                changed_.notify_all();
                // Bounded: a broken test then fails on its expectations instead of hanging.
                if (!changed_.wait_for(lock, kLimit, [&] { return open_ || passed_ == ticket; }))
                    open_ = true;
                waiting_ = 0;
            }
        }
        inner_.SleepMs(ms);
    }
    // From now on a worker stops at its first wait.
    void Hold() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }
    // Lets the worker that is held (once it is) run to the end of its task.
    void ReleaseHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, kLimit, [&] { return waiting_ != 0; });
        passed_ = waiting_;
        changed_.notify_all();
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

  private:
    static constexpr std::chrono::seconds kLimit{30};
    platform::ManualClock& inner_;
    const std::thread::id ui_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = true;
    uint64_t tickets_ = 0, waiting_ = 0, passed_ = 0;
};

class WriteRequests : public oaktest::AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        gate_ = std::make_unique<GatedClock>(Ui().Clock());
        platform::SetCurrentClock(gate_.get());
        mouse::ProfileFiles::SetMessageShower([this](ui::WindowImplBase*, const std::string& text) {
            messages_.push_back(text);
            if (onMessage_) onMessage_();
        });
    }
    void TearDown() override {
        gate_->Open();
        if (frame_ && frame_->IsDeviceTaskRunning()) WaitForDeviceTasks();
        frame_.reset();
        platform::SetCurrentClock(&Ui().Clock());
        SimControl(DeviceModel::Egret).ClearFailures();
        SimControl(DeviceModel::Egret).SetAttached(true);
        mouse::ProfileFiles::SetMessageShower(nullptr);
        AppFixture::TearDown();
    }
    void OpenEgret() { ShowDevice(3); }
    mouse::CDialogMouseEgretSetting& Page() {
        return PageOf<mouse::CDialogMouseEgretSetting>(DeviceModel::Egret);
    }
    DeviceLibraryBinding& Binding() { return OpenedMouse(DeviceModel::Egret); }
    Code DeviceKey(int profile, int key) {
        Code c{};
        Binding().Call(EntryPoint::Devcie_Get_Macro_Key_Egret, int32_t{profile + 1}, int32_t{key + 1}, &c[0],
                       &c[1], &c[2], &c[3]);
        return c;
    }
    std::vector<uint8_t> DeviceImage() {
        std::vector<uint8_t> image(kImage);
        Binding().Call(EntryPoint::EEPROM_Save_Configuration_Egret, image.data());
        return image;
    }
    std::vector<uint8_t> FileImage(const fs::path& file) {
        return platform::ReadFileBytes(file.string()).value_or(std::vector<uint8_t>{});
    }
    // Opens the editor on key `button` (1-based) of the current profile, gives it the letter key
    // `letter`, lets `during` act, and presses OK.
    void AssignLetter(int button, uint32_t letter, const std::function<void()>& during = nullptr) {
        bool opened = false;
        Ui().AnswerModal(kEd, [&](ui::WindowImplBase&) {
            opened = true;
            Ui().Click("user_defined_setting_Egret", kEd);
            Ui().PressKey(letter);
            if (during) during();
            Ui().Click("btn_ok_Egret", kEd);
        });
        Ui().Click("profile_key_Egret_" + std::to_string(button), kMain);
        ASSERT_TRUE(opened);
    }
    void SaveTo(const fs::path& file) {
        Ui().AnswerFileDialog(file.string());
        Ui().Click("save_data_Egret", kMain);
    }
    void ImportFrom(const fs::path& file) {
        Ui().AnswerFileDialog(file.string());
        Ui().Click("import_data_Egret", kMain);
    }
    std::string Hint() { return Ui().Text("hint_Egret", kMain); }

    std::vector<std::string> messages_;
    std::function<void()> onMessage_;
    std::unique_ptr<GatedClock> gate_;
};

TEST_F(WriteRequests, KeysAssignedWhileTheMouseIsBusyAllLand) {
    OpenEgret();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    const auto& keys = Page().Egret().keyLists[0];
    const int first = keys[1].keyIndex, second = keys[2].keyIndex;
    const Code before[] = {DeviceKey(0, first), DeviceKey(0, second)};

    gate_->Hold();
    SaveTo(TempDir() / "busy.bin");  // a task the edits below wait behind
    AssignLetter(2, ui::kVkA);
    AssignLetter(3, ui::kVkA + 1);
    EXPECT_EQ(recorder.Count("Update_Profile"), 0u);
    gate_->Open();
    WaitForDeviceTasks();

    const Code shown[] = {Page().Egret().keyLists[0][1].code, Page().Egret().keyLists[0][2].code};
    EXPECT_NE(shown[0], before[0]);
    EXPECT_NE(shown[1], before[1]);
    EXPECT_EQ(DeviceKey(0, first), shown[0]);
    EXPECT_EQ(DeviceKey(0, second), shown[1]);
}

TEST_F(WriteRequests, FileOperationsQueuedBehindATaskEachKeepTheirOwnFile) {
    OpenEgret();
    // A file of the mouse as it is, then a change on the mouse.
    const fs::path earlier = TempDir() / "earlier.bin", a = TempDir() / "a.bin", b = TempDir() / "b.bin";
    SaveTo(earlier);
    WaitForDeviceTasks();
    const auto original = FileImage(earlier);
    ASSERT_EQ(original.size(), kImage);
    Ui().Click("advanced_Settings_Egret", kMain);
    Ui().Click(Page().Egret().reportRate == 0 ? "result_report_rate2_Egret" : "result_report_rate1_Egret",
               kMain);
    WaitForDeviceTasks();
    const auto changed = DeviceImage();
    ASSERT_NE(changed, original);

    oaktest::NotificationRecorder recorder(Frame().GetManager());
    gate_->Hold();
    SaveTo(a);            // runs at once and stays busy
    ImportFrom(earlier);  // both wait behind it
    SaveTo(b);
    EXPECT_EQ(recorder.Count("Update_Profile"), 0u);
    gate_->Open();
    WaitForDeviceTasks();

    EXPECT_EQ(FileImage(a), changed);
    EXPECT_EQ(FileImage(b), original);
    EXPECT_EQ(DeviceImage(), original);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(WriteRequests, LedEntriesEditedWhileTheMouseIsBusyAllLand) {
    // The strip variant with effects 4 and 5 in its second and third modes (both have a direction);
    // the second mode is active.
    SimControl(DeviceModel::Egret).SetVariant(1);
    auto& b = DeviceLibraryBinding::Instance();
    // The device's own ids: the skin's are not read before the program starts.
    b.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, int32_t{0});
    const std::array<uint8_t, 8> block = {0, 4, 5, 13, 17, 22, 27, 31};
    b.Call(EntryPoint::Devcie_Set_Led_Mode_Data_Egret, block.data());
    b.Call(EntryPoint::Device_Set_LED_Breath_Mode_Egret, int32_t{1});
    for (int32_t entry : {4, 5})
        b.Call(EntryPoint::Devcie_Set_Uart_Led_Data_Egret, entry, int32_t{0x21}, int32_t{0}, int32_t{0});
    OpenEgret();
    Ui().Click("led_Settings_Egret", kMain);
    oaktest::NotificationRecorder recorder(Frame().GetManager());

    gate_->Hold();
    SaveTo(TempDir() / "busy.bin");
    Ui().Click("result_uart_LED_direction_loop_Egret", kMain);  // entry 4
    Ui().Click("result_uart_led_mode_Egret_3", kMain);
    Ui().Click("result_uart_LED_direction_up2down_Egret", kMain);  // entry 5
    EXPECT_EQ(recorder.Count("Update_Profile"), 0u);
    gate_->Open();
    WaitForDeviceTasks();

    auto direction = [&](int32_t entry) {
        UartLedEntry v;
        Binding().Call(EntryPoint::Devcie_Get_Uart_Led_Data_Egret, entry, &v.byte1, &v.byte2, &v.byte3);
        return v.byte1 & 0x0F;
    };
    EXPECT_EQ(direction(4), 4);
    EXPECT_EQ(direction(5), 2);
}

TEST_F(WriteRequests, AFailedKeyWriteSaysSoAndThePageShowsTheMouse) {
    struct Case {
        const char* name;
        bool unplug;  // otherwise the mouse refuses the write and stays
    };
    for (const Case c : {Case{"refused", false}, Case{"unplugged", true}}) {
        SCOPED_TRACE(c.name);
        OpenEgret();
        const Code before = DeviceKey(0, Page().Egret().keyLists[0][1].keyIndex);
        const std::string beforeLabel = Ui().Text("profile_key_Egret_2", kMain);
        SimControl sim(DeviceModel::Egret);
        if (!c.unplug) sim.Inject("Devcie_Set_Macro_Key_Egret", 0);
        // The editor was opened with the mouse there; it goes while the user chooses.
        AssignLetter(2, ui::kVkA, [&] {
            if (c.unplug) sim.SetAttached(false);
        });
        WaitForDeviceTasks();
        EXPECT_EQ(Hint(), c.unplug ? "%{521}" : "%{520}");
        EXPECT_EQ(Page().IsConnected(), !c.unplug);
        EXPECT_EQ(Page().LastWriteFailed(), true);
        if (c.unplug) {
            EXPECT_FALSE(Ui().IsEnabled("device_Mouse_Egret_page", kMain));
            EXPECT_EQ(Ui().Text("status_Egret", kMain), "%{313}");
            // The longer text fits the status line in every language.
            for (int i = 1; i <= 15; ++i) {
                const std::string language = "language_" + std::to_string(i);
                Ui().Click(language, kMain);
                for (const auto& problem : oaktest::TextFitProblems(Frame()))
                    ADD_FAILURE() << language << ": " << problem;
            }
        } else {
            // Read again: the page shows what the mouse holds, not the refused assignment.
            EXPECT_EQ(Page().Egret().keyLists[0][1].code, before);
            EXPECT_EQ(Ui().Text("profile_key_Egret_2", kMain), beforeLabel);
            EXPECT_EQ(Ui().Text("status_Egret", kMain), "%{320}");
            // The next write that lands clears the notice.
            sim.ClearFailures();
            AssignLetter(2, ui::kVkA + 1);
            WaitForDeviceTasks();
            EXPECT_EQ(Hint(), "%{675}");
            Ui().AdvanceClock(mouse::MousePage::kResultShownMs);
            EXPECT_EQ(Hint(), "");
            EXPECT_FALSE(Page().LastWriteFailed());
            EXPECT_EQ(DeviceKey(0, Page().Egret().keyLists[0][1].keyIndex),
                      Page().Egret().keyLists[0][1].code);
        }
        sim.ClearFailures();
        sim.SetAttached(true);
        frame_.reset();
    }
}

TEST_F(WriteRequests, EveryResultTheStatusLineTellsFitsItInEveryLanguage) {
    OpenEgret();
    auto& hint = Ui().Find("hint_Egret", kMain);
    const int options = Ui().Find<ui::Container>("language_option", kMain).GetCount();
    for (int i = 1; i <= options; ++i) {
        const std::string language = "language_" + std::to_string(i);
        Ui().Click(language, kMain);
        for (int text = 675; text <= 683; ++text) {
            hint.SetText("%{" + std::to_string(text) + "}");
            Frame().GetManager().LayoutIfNeeded();
            for (const auto& problem : oaktest::TextFitProblems(Frame()))
                ADD_FAILURE() << language << " " << text << ": " << problem;
        }
    }
}

TEST_F(WriteRequests, AnEditMadeBeforeTheReReadIsServedStaysShown) {
    OpenEgret();
    SimControl sim(DeviceModel::Egret);
    gate_->Hold();
    SaveTo(TempDir() / "first.bin");
    sim.Inject("Devcie_Set_Macro_Key_Egret", 1);
    AssignLetter(2, ui::kVkA);         // fails when its turn comes
    SaveTo(TempDir() / "second.bin");  // runs after it and is held; the page's re-read waits behind it
    gate_->ReleaseHeld();
    ASSERT_TRUE(Ui().RunUntil([&] { return Page().LastWriteFailed(); }));
    AssignLetter(3, ui::kVkA + 1);  // made while the re-read waits
    gate_->Open();
    WaitForDeviceTasks();
    const KeySlot& third = Page().Egret().keyLists[0][2];
    EXPECT_EQ(DeviceKey(0, third.keyIndex), (Code{2, 0, 0, 5}));
    EXPECT_EQ(third.code, (Code{2, 0, 0, 5}));
}

TEST_F(WriteRequests, AFinishShowsItsMessageWithoutTheProgressWindowAndNothingStartsUnderIt) {
    OpenEgret();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    SimControl sim(DeviceModel::Egret);
    bool progressShown = true, startedUnderMessage = true;
    onMessage_ = [&] {
        progressShown = ui::Toolkit::FindWindowByClass("ReadProgress") != nullptr;
        // While the message is up: the user changes a stage, and another process says "finished".
        sim.ResetCallCounts();
        Frame().GetManager().SendNotify(nullptr, "WRITE_EgretDATA", 0, mouse::kOpStages, true, true);
        Frame().PostMessage(1002);
        Ui().RunUntilIdle();
        startedUnderMessage = recorder.Count("Update_Profile") > 0 || Frame().ProgressWindow() != nullptr ||
                              sim.CallCount("Device_Set_Current_CPI_Gear_Egret") > 0;
    };
    SaveTo(TempDir() / "no such folder" / "mine.bin");
    WaitForDeviceTasks();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_FALSE(progressShown);
    EXPECT_FALSE(startedUnderMessage);
    // The stage write waited for the message and ran after it.
    EXPECT_EQ(recorder.Count("Update_Profile"), 2u);
}

TEST_F(WriteRequests, TheProgressWindowCannotBeClosedWhileItsTaskRuns) {
    OpenEgret();
    // Started directly, so the task's end cannot be handled before the attempts below.
    Frame().StartDeviceTask(4, app::WorkerKind::Write, mouse::kOpStages);
    app::ReadProgress* progress = Frame().ProgressWindow();
    ASSERT_NE(progress, nullptr);
    progress->OnNativeCloseRequest();  // Alt+F4, the window manager's close
    progress->SendMessage(ui::kWmClose, 1, 0);
    EXPECT_FALSE(progress->IsClosed());
    EXPECT_NE(ui::Toolkit::FindWindowByClass("ReadProgress"), nullptr);
    WaitForDeviceTasks();
    EXPECT_EQ(ui::Toolkit::FindWindowByClass("ReadProgress"), nullptr);
}

}  // namespace
