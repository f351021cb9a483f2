// The Heron mouse through its driver: the driver block every open passes after the Heron's ids, its
// life between runs, how the lighting and stage controls change it, the driver's 40960-byte image,
// and the wait before the driver's read once the mouse appears. What the family-H pages share is
// tested in heron_page_test.cpp, with the driver as one of its models.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

#include "AppFixture.h"
#include "SimControl.h"
#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"
#include "mouse/CDialogMouseHeronDriverSetting.h"
#include "mouse/ProfileFiles.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "ui/controls/Button.h"
#include "ui/core/Messages.h"
#include "ui/layout/TabLayout.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Block = std::array<int32_t, 4>;
constexpr DeviceModel kDriver = DeviceModel::HeronDriver;
constexpr const char* kMain = "Oakridge";
constexpr Block kDefaultBlock{1, 2, 255, 4};
constexpr size_t kImageSize = 40960;

// The lighting options and the mode code each puts into bits 0-2 of block byte 1.
constexpr struct {
    const char* option;
    int code;
} kModes[] = {{"result_LED_mode_rainbow_Heron_Driver", 1},
              {"result_LED_mode_random_leisure_Heron_Driver", 2},
              {"result_LED_mode_random_sleep_Heron_Driver", 3},
              {"result_LED_mode_random_sport_Heron_Driver", 4},
              {"result_LED_mode_DPI_color_breath_Heron_Driver", 5},
              {"result_LED_mode_DPI_light_on_Heron_Driver", 6},
              {"result_LED_mode_off_Heron_Driver", 7}};
constexpr const char* kLightsOn = "result_LED_status_on_Heron_Driver";
constexpr const char* kLightsOff = "result_LED_status_off_Heron_Driver";

std::string SnapshotPath(const std::string& name) {
    const char* dir = std::getenv("OAKRIDGE_SNAPSHOT_DIR");
    return (dir && *dir ? std::string(dir) + "/" : ::testing::TempDir()) + name + ".png";
}

class HeronDriverPage : public oaktest::AppFixture {
  protected:
    SimControl& Sim() { return sim_; }
    mouse::CDialogMouseHeronDriverSetting& Page() {
        return PageOf<mouse::CDialogMouseHeronDriverSetting>(kDriver);
    }
    const std::array<uint8_t, 4>& PageBlock() { return Page().Config().driverBlock; }
    fs::path BlockFile() const {
        return TempDir() / "state/oakridge/Lumenor_MacroBin/DriverTempCPIAndLedData.bin";
    }
    void WriteBlockFile(const Bytes& bytes) const {
        fs::create_directories(BlockFile().parent_path());
        ASSERT_TRUE(platform::WriteFileAtomic(BlockFile().string(), bytes.data(), bytes.size()));
    }
    Bytes BlockFileBytes() const {
        std::ifstream in(BlockFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The block the mouse holds, as the library's dump shows it ("0102ff04").
    std::string MouseBlock() {
        const std::string dump = sim_.Describe();
        const size_t at = dump.find("driverBlock: ");
        return at == std::string::npos ? "" : dump.substr(at + 13, 8);
    }
    // The mouse's whole image, read as the page reads it (its ids and block).
    Bytes MouseImage() {
        auto& b = DeviceLibraryBinding::Instance();
        const auto& block = PageBlock();
        b.Call(EntryPoint::InitMCUDevice_Heron_Driver, int32_t{kLumenorVid}, int32_t{kHeronPid},
               int32_t{block[0]}, int32_t{block[1]}, int32_t{block[2]}, int32_t{block[3]});
        Bytes image(kImageSize);
        EXPECT_EQ(b.Call(EntryPoint::Device_Get_Device_Data_Heron_Driver, image.data(), int32_t{kImageSize}),
                  0);
        return image;
    }
    void Start() {
        StartApp();
        WaitForDeviceTasks();
    }
    // The program on the driver's page.
    void Show() {
        ShowDevice(RowOf(kDriver).page);
        ASSERT_TRUE(Page().IsConnected());
    }
    // Closes the program and starts it again, as a user would.
    void Restart() {
        WaitForDeviceTasks();
        frame_.reset();
        Show();
    }
    void Write() {
        Ui().Click("write_data_Heron_Driver", kMain);
        WaitForDeviceTasks();
    }
    bool PendingLook() { return Ui().Find<ui::Button>("write_data_Heron_Driver", kMain).IsPending(); }
    void DeviceChange() { Frame().SendMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0); }

    oaktest::ShownMessages shown_;  // the profile files' message box texts

  private:
    SimControl sim_{kDriver};
};

TEST_F(HeronDriverPage, OpensWithTheHeronsIdsAndTheDefaultBlockWhenNoneWasKept) {
    EXPECT_EQ(IdsOf(kDriver).vid, kLumenorVid);
    EXPECT_EQ(IdsOf(kDriver).pid, kHeronPid);
    Start();
    EXPECT_TRUE(Page().IsConnected());
    EXPECT_EQ(Sim().LastOpenSelector(), kDefaultBlock);
    EXPECT_FALSE(fs::exists(BlockFile()));  // reading it is not keeping it
}

TEST_F(HeronDriverPage, OpensWithTheFirstFourBytesOfTheKeptBlock) {
    const struct {
        const char* what;
        Bytes file;
        Block opened;
    } cases[] = {
        {"four bytes", {3, 0x0F, 9, 120}, {3, 0x0F, 9, 120}},
        {"a longer file", {0x25, 7, 0, 33, 99, 98}, {0x25, 7, 0, 33}},
        {"too short", {5, 6}, kDefaultBlock},
        {"empty", {}, kDefaultBlock},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBlockFile(c.file);
        Start();
        EXPECT_EQ(Sim().LastOpenSelector(), c.opened);
        const auto& b = PageBlock();
        EXPECT_EQ((Block{b[0], b[1], b[2], b[3]}), c.opened);
        frame_.reset();
    }
}

TEST_F(HeronDriverPage, ALightingModeWaitsForTheWriteWhichSendsAndKeepsTheBlockForTheNextStart) {
    Show();
    Ui().Click("led_Settings_Heron_Driver", kMain);
    Sim().ResetCallCounts();
    Ui().Click("result_LED_mode_random_sport_Heron_Driver", kMain);
    WaitForDeviceTasks();
    // Only the page's block changed.
    EXPECT_EQ(PageBlock()[1], 4);
    EXPECT_TRUE(PendingLook());
    EXPECT_EQ(Sim().CallCount("Device_WriteLedCPIData_Heron_Driver"), 0);
    EXPECT_EQ(MouseBlock(), "0102ff04");
    EXPECT_FALSE(fs::exists(BlockFile()));

    Write();
    EXPECT_FALSE(PendingLook());
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{1, 4, 255, 4}));
    EXPECT_EQ(Sim().CallCount("Device_WriteLedCPIData_Heron_Driver"), 1);
    EXPECT_EQ(Sim().CallCount("WriteMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(MouseBlock(), "0104ff04");
    EXPECT_EQ(BlockFileBytes(), (Bytes{1, 4, 255, 4}));

    Restart();
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{1, 4, 255, 4}));
    Ui().Click("led_Settings_Heron_Driver", kMain);
    EXPECT_TRUE(Ui().IsSelected("result_LED_mode_random_sport_Heron_Driver", kMain));
    EXPECT_TRUE(Ui().IsSelected(kLightsOn, kMain));
}

// One write sends both: the key the editor changed in the library's image, then the block.
TEST_F(HeronDriverPage, AKeyEditAndALightingChangeGoWithTheSameWrite) {
    Show();
    mouse::CDialogMouseHeronDriverSetting::SetKeyEditor(
        [](ui::WindowImplBase&, HeronDriverConfig&, KeySlot& slot) {
            slot.code = {1, 4, 0, 0};  // middle button
            return true;
        });
    Ui().Click("profile_key_Heron_Driver_1", kMain);
    mouse::CDialogMouseHeronDriverSetting::SetKeyEditor(nullptr);
    Ui().Click("led_Settings_Heron_Driver", kMain);
    Ui().Click("result_LED_mode_DPI_color_breath_Heron_Driver", kMain);
    EXPECT_TRUE(PendingLook());
    EXPECT_EQ(MouseBlock(), "0102ff04");
    Sim().ResetCallCounts();
    Write();
    EXPECT_EQ(Sim().CallCount("WriteMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(MouseBlock(), "0105ff04");
    const std::string dump = Sim().Describe();
    EXPECT_NE(dump.find("keyCode: 010400 "), std::string::npos) << dump;
    EXPECT_FALSE(PendingLook());
}

// Each option sets only its own bits of byte 1: the mode in bits 0-2, the lights off in bit 3; the
// high nibble is the driver's and stays.
TEST_F(HeronDriverPage, LightingOptionsChangeOnlyTheirBitsOfTheBlock) {
    WriteBlockFile({1, 0xF2, 255, 4});
    Show();
    Ui().Click("led_Settings_Heron_Driver", kMain);
    Sim().ResetCallCounts();
    const struct {
        const char* option;
        uint8_t byte1;
    } steps[] = {
        {kLightsOff, 0xFA},
        {"result_LED_mode_off_Heron_Driver", 0xFF},
        {kLightsOn, 0xF7},
        {"result_LED_mode_rainbow_Heron_Driver", 0xF1},
        {"result_LED_mode_DPI_light_on_Heron_Driver", 0xF6},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.option);
        Ui().Click(s.option, kMain);
        EXPECT_EQ(PageBlock()[1], s.byte1);
        EXPECT_EQ(PageBlock()[0], 1);
        EXPECT_EQ(PageBlock()[2], 255);
        EXPECT_EQ(PageBlock()[3], 4);
    }
    WaitForDeviceTasks();
    EXPECT_EQ(Sim().CallCount("Device_WriteLedCPIData_Heron_Driver"), 0);
    EXPECT_EQ(Sim().CallCount("WriteMCUDevice_Heron_Driver"), 0);
    Write();
    EXPECT_EQ(MouseBlock(), "01f6ff04");
}

TEST_F(HeronDriverPage, TheLightingShowsWhatTheBlockSays) {
    const struct {
        uint8_t byte1;
        int mode;  // 0: no option selected
        bool off;
    } cases[] = {{0x00, 0, false}, {0x0B, 3, true}, {0x07, 7, false}, {0x09, 1, true}, {0x75, 5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte1));
        WriteBlockFile({1, c.byte1, 255, 4});
        Show();
        Ui().Click("led_Settings_Heron_Driver", kMain);
        for (const auto& m : kModes)
            EXPECT_EQ(Ui().IsSelected(m.option, kMain), m.code == c.mode) << m.option;
        EXPECT_EQ(Ui().IsSelected(kLightsOff, kMain), c.off);
        EXPECT_EQ(Ui().IsSelected(kLightsOn, kMain), !c.off);
        frame_.reset();
    }
}

// A stage option makes byte 0 the stage's number (zero-based) and byte 3 its level; a count change
// puts the new active stage into the low nibble of byte 0 only.
TEST_F(HeronDriverPage, AStageOptionReplacesByteZeroACountChangeOnlyItsLowNibble) {
    WriteBlockFile({0xA3, 2, 255, 4});
    Show();
    const auto& stages = Page().Config().stages;
    ASSERT_GE(stages.size(), 6u);
    Ui().DragSlider("result_DPI5_slider_Heron_Driver", 42, kMain);
    const struct {
        const char* what;
        int countItem;  // -1: a stage option instead
        int stage;
        uint8_t byte0, byte3;
    } steps[] = {
        {"six stages", 4, 0, 0xA5, 4},
        {"two stages", 0, 0, 0xA1, 4},
        {"stage 1", -1, 1, 0x00, static_cast<uint8_t>(stages[0].level)},
        {"four stages", 2, 0, 0x03, static_cast<uint8_t>(stages[0].level)},
        {"stage 2", -1, 2, 0x01, static_cast<uint8_t>(stages[1].level)},
        {"seven stages", 5, 0, 0x06, static_cast<uint8_t>(stages[1].level)},
        {"stage 5", -1, 5, 0x04, 42},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.countItem >= 0)
            Ui().SelectComboItem("result_DPI_count_setting_Heron_Driver", s.countItem, kMain);
        else
            Ui().Click("result_DPI" + std::to_string(s.stage) + "_check_Heron_Driver", kMain);
        EXPECT_EQ(PageBlock()[0], s.byte0);
        EXPECT_EQ(PageBlock()[1], 2);
        EXPECT_EQ(PageBlock()[3], s.byte3);
    }
    Write();
    EXPECT_EQ(MouseBlock(), "0402ff2a");
    EXPECT_EQ(BlockFileBytes(), (Bytes{0x04, 2, 255, 42}));
}

// Nothing is kept when the mouse did not take the block or the image: the next start opens with
// what the mouse had.
TEST_F(HeronDriverPage, AWriteTheMouseRefusedKeepsNoBlock) {
    WriteBlockFile({1, 3, 255, 4});
    Show();
    Ui().Click("led_Settings_Heron_Driver", kMain);
    Ui().Click("result_LED_mode_random_leisure_Heron_Driver", kMain);
    for (const char* refused : {"Device_WriteLedCPIData_Heron_Driver", "WriteMCUDevice_Heron_Driver"}) {
        SCOPED_TRACE(refused);
        Sim().ResetCallCounts();
        Sim().Inject(refused, 1);
        Write();
        Sim().ClearFailures();
        EXPECT_EQ(BlockFileBytes(), (Bytes{1, 3, 255, 4}));
        EXPECT_TRUE(PendingLook());
        // The image goes only after the block did.
        EXPECT_EQ(Sim().CallCount("WriteMCUDevice_Heron_Driver"),
                  std::string(refused) == "WriteMCUDevice_Heron_Driver" ? 1 : 0);
    }
    Write();
    EXPECT_EQ(BlockFileBytes(), (Bytes{1, 2, 255, 4}));
    EXPECT_FALSE(PendingLook());
}

TEST_F(HeronDriverPage, SaveAndLoadMoveTheWhole40960ByteImageAndRestoreLoadsTheDefaultFile) {
    WriteBlockFile({3, 0x0C, 255, 31});
    Show();
    const fs::path file = TempDir() / "driver.bin";
    Ui().AnswerFileDialog(file.string());
    Sim().ResetCallCounts();
    Ui().Click("save_data_Heron_Driver", kMain);
    WaitForDeviceTasks();
    // The file operations open with the block too.
    EXPECT_GE(Sim().CallCount("InitMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{3, 0x0C, 255, 31}));
    auto saved = platform::ReadFileBytes(file.string(), 2 * kImageSize);
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->size(), kImageSize);
    EXPECT_EQ(*saved, MouseImage());

    // A file with other stages and a short one (the rest of the image becomes zeros) go in whole.
    Bytes changed = *saved;
    changed[5] = 3, changed[6] = 2;  // three stages, the third active
    changed[kImageSize - 1] = 0x5A;
    Bytes shortFile(saved->begin(), saved->begin() + 600);
    Bytes shortImage = shortFile;
    shortImage.resize(kImageSize, 0);
    const struct {
        const char* what;
        Bytes file;
        Bytes image;
    } loads[] = {{"changed", changed, changed}, {"short", shortFile, shortImage}};
    for (const auto& l : loads) {
        SCOPED_TRACE(l.what);
        const fs::path path = TempDir() / (std::string(l.what) + ".bin");
        ASSERT_TRUE(platform::WriteFileAtomic(path.string(), l.file.data(), l.file.size()));
        Ui().AnswerFileDialog(path.string());
        Ui().Click("import_data_Heron_Driver", kMain);
        WaitForDeviceTasks();
        EXPECT_EQ(MouseImage(), l.image);
        EXPECT_EQ(Page().Config().stageCount, l.image[5]);
    }

    Ui().PressInNextModal("MessageBox", "btn_ok");
    Ui().Click("reset_data_Heron_Driver", kMain);
    WaitForDeviceTasks();
    auto defaults = platform::ReadFileBytes(
        mouse::ProfileFiles::DefaultFile(RowOf(kDriver).resetButtons[0].defaultFile), 2 * kImageSize);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(RowOf(kDriver).resetButtons[0].defaultFile, std::string("Driver_HeronData_Cfg1.bin"));
    EXPECT_EQ(defaults->size(), kImageSize);
    EXPECT_EQ(MouseImage(), *defaults);
    EXPECT_EQ(Page().Config().stageCount, (*defaults)[5]);
    EXPECT_TRUE(shown_.Texts().empty());
}

// Four sections, the lighting the last: the driver has no fire keys (its skin is checked in
// skins_test.cpp).
TEST_F(HeronDriverPage, TheNavigationLeadsToFourSections) {
    Show();
    auto& sections = Ui().Find<ui::TabLayout>("Setting_switch_Heron_Driver", kMain);
    EXPECT_EQ(sections.GetCount(), 4);
    const struct {
        const char* button;
        int section;
    } buttons[] = {{"marco_manager_Heron_Driver", 1},
                   {"advanced_Settings_Heron_Driver", 2},
                   {"led_Settings_Heron_Driver", 3},
                   {"profile2_Heron_Driver", 0}};
    for (const auto& b : buttons) {
        Ui().Click(b.button, kMain);
        EXPECT_EQ(sections.GetCurSel(), b.section) << b.button;
    }
}

// Forwards to the test's clock and notes each wait with the number of driver opens made before it.
class WaitRecorder final : public platform::Clock {
  public:
    WaitRecorder(platform::ManualClock& clock, SimControl& driver) : clock_(clock), driver_(driver) {}
    uint64_t NowMs() const override { return clock_.NowMs(); }
    void SleepMs(uint32_t ms) override {
        std::lock_guard lock(mutex_);
        waits_.push_back({ms, driver_.CallCount("InitMCUDevice_Heron_Driver")});
        clock_.SleepMs(ms);
    }
    struct Wait {
        uint32_t ms;
        int opensBefore;
        bool operator==(const Wait&) const = default;
    };
    std::vector<Wait> Waits() {
        std::lock_guard lock(mutex_);
        return waits_;
    }

  private:
    platform::ManualClock& clock_;
    SimControl& driver_;
    std::mutex mutex_;
    std::vector<Wait> waits_;
};

TEST_F(HeronDriverPage, AMouseThatAppearsIsReadOnlyAfterTheDriverSettled) {
    WriteBlockFile({2, 5, 255, 15});
    Sim().SetAttached(false);
    Start();
    ASSERT_FALSE(Page().IsConnected());
    Sim().SetAttached(true);
    Sim().ResetCallCounts();
    WaitRecorder recorder(Ui().Clock(), Sim());
    platform::SetCurrentClock(&recorder);
    const uint64_t before = Ui().Clock().NowMs();
    DeviceChange();
    WaitForDeviceTasks();
    platform::SetCurrentClock(&Ui().Clock());
    EXPECT_EQ(recorder.Waits(), (std::vector<WaitRecorder::Wait>{{200, 0}}));
    EXPECT_EQ(RowOf(kDriver).settleMs, 200u);
    EXPECT_GE(Ui().Clock().NowMs() - before, 200u);
    EXPECT_EQ(Sim().CallCount("InitMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(Sim().CallCount("ReadMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{2, 5, 255, 15}));
    EXPECT_TRUE(Page().IsConnected());
}

TEST_F(HeronDriverPage, AConnectedDriverIsReopenedWithItsBlockAndNoWait) {
    Show();
    Ui().Click("led_Settings_Heron_Driver", kMain);
    Ui().Click(kLightsOff, kMain);  // the block the page holds now, not yet written
    Sim().ResetCallCounts();
    const uint64_t before = Ui().Clock().NowMs();
    DeviceChange();
    WaitForDeviceTasks();
    EXPECT_EQ(Ui().Clock().NowMs(), before);
    EXPECT_EQ(Sim().CallCount("InitMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(Sim().CallCount("ReadMCUDevice_Heron_Driver"), 0);
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{1, 0x0A, 255, 4}));
}

// Pictures of every section in English and Polish, for a person to look at.
TEST_F(HeronDriverPage, PicturesOfEverySection) {
    Show();
    const struct {
        int language;  // the language option
        const char* name;
    } languages[] = {{3, "English"}, {8, "Polish"}};
    auto& sections = Ui().Find<ui::TabLayout>("Setting_switch_Heron_Driver", kMain);
    for (const auto& l : languages) {
        Ui().Click("language_" + std::to_string(l.language), kMain);
        Ui().RunUntilIdle();
        ASSERT_EQ(Ui().Text("language_" + std::to_string(l.language), kMain), l.name);
        for (int section = 0; section < sections.GetCount(); ++section) {
            sections.SelectItem(section, ui::Notify::No);
            Ui().RunUntilIdle();
            EXPECT_TRUE(Ui().Snapshot(
                SnapshotPath("heron_driver_section_" + std::to_string(section) + "_" + l.name), kMain));
        }
    }
}

}  // namespace
