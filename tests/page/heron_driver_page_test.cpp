// The Heron mouse through its driver: the driver block every open passes after the Heron's ids, its
// life between runs, and the wait before the driver's read once the mouse appears.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

#include "AppFixture.h"
#include "SimControl.h"
#include "device/DeviceIds.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"
#include "mouse/CDialogMouseHeronDriverSetting.h"
#include "platform/Clock.h"
#include "ui/core/Messages.h"

namespace {

namespace fs = std::filesystem;
using Block = std::array<int32_t, 4>;
constexpr DeviceModel kDriver = DeviceModel::HeronDriver;
constexpr Block kDefaultBlock{1, 2, 255, 4};

class HeronDriverPage : public oaktest::AppFixture {
  protected:
    SimControl& Sim() { return sim_; }
    mouse::CDialogMouseHeronDriverSetting& Page() {
        return PageOf<mouse::CDialogMouseHeronDriverSetting>(kDriver);
    }
    fs::path BlockFile() const {
        return TempDir() / "state/oakridge/Lumenor_MacroBin/DriverTempCPIAndLedData.bin";
    }
    void WriteBlockFile(const std::vector<uint8_t>& bytes) const {
        fs::create_directories(BlockFile().parent_path());
        std::ofstream(BlockFile(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> BlockFileBytes() const {
        std::ifstream in(BlockFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The block the device holds, as the library's dump shows it ("0102ff04").
    std::string DeviceBlock() {
        const std::string dump = sim_.Describe();
        const size_t at = dump.find("driverBlock: ");
        return at == std::string::npos ? "" : dump.substr(at + 13, 8);
    }
    void Start() {
        StartApp();
        WaitForDeviceTasks();
    }
    // Closes the program and starts it again, as a user would.
    void Restart() {
        WaitForDeviceTasks();
        frame_.reset();
        Start();
    }
    void RequestWrite(int operation) {
        Frame().GetManager().SendNotify(nullptr, RowOf(kDriver).writeRequest, 0, operation, true, true);
        Ui().RunUntil([&] { return Frame().IsDeviceTaskRunning(); });
        WaitForDeviceTasks();
    }

  private:
    SimControl sim_{kDriver};
};

TEST_F(HeronDriverPage, OpensWithTheHeronsIdsAndTheDefaultBlockWhenNoneWasKept) {
    EXPECT_EQ(IdsOf(kDriver).vid, kLumenorVid);
    EXPECT_EQ(IdsOf(kDriver).pid, kHeronPid);
    Start();
    EXPECT_TRUE(Page().IsConnected());
    EXPECT_EQ(Sim().LastOpenSelector(), kDefaultBlock);
    EXPECT_FALSE(fs::exists(BlockFile()));  // reading is not keeping
}

TEST_F(HeronDriverPage, OpensWithTheFirstFourBytesOfTheKeptBlock) {
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        Block opened;
    } cases[] = {
        {"four bytes", {3, 0x0F, 9, 120}, {3, 0x0F, 9, 120}},
        {"longer file", {0x25, 7, 0, 33, 99, 98}, {0x25, 7, 0, 33}},
        {"too short", {5, 6}, kDefaultBlock},
        {"empty", {}, kDefaultBlock},
    };
    for (const auto& c : cases) {
        WriteBlockFile(c.file);
        Start();
        EXPECT_EQ(Sim().LastOpenSelector(), c.opened) << c.what;
        EXPECT_EQ(
            Page().Config().driverBlock,
            (std::array<uint8_t, 4>{static_cast<uint8_t>(c.opened[0]), static_cast<uint8_t>(c.opened[1]),
                                    static_cast<uint8_t>(c.opened[2]), static_cast<uint8_t>(c.opened[3])}))
            << c.what;
        WaitForDeviceTasks();
        frame_.reset();
    }
}

TEST_F(HeronDriverPage, WritingSendsTheBlockAndKeepsItForTheNextStart) {
    Start();
    Page().Config().driverBlock = {2, 0x0B, 255, 15};
    Sim().ResetCallCounts();
    RequestWrite(0);
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{2, 0x0B, 255, 15}));
    EXPECT_EQ(Sim().CallCount("Device_WriteLedCPIData_Heron_Driver"), 1);
    EXPECT_EQ(Sim().CallCount("WriteMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(DeviceBlock(), "020bff0f");
    EXPECT_EQ(BlockFileBytes(), (std::vector<uint8_t>{2, 0x0B, 255, 15}));

    Restart();
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{2, 0x0B, 255, 15}));
}

TEST_F(HeronDriverPage, AWriteTheMouseRefusedKeepsTheBlockFileAsItWas) {
    WriteBlockFile({1, 3, 255, 4});
    Start();
    Page().Config().driverBlock = {1, 6, 255, 4};
    Sim().Inject("WriteMCUDevice_Heron_Driver", 1);
    Ui().PressInNextModal("MessageBox", "btn_ok");  // the page says the write failed
    RequestWrite(0);
    Sim().ClearFailures();
    EXPECT_EQ(BlockFileBytes(), (std::vector<uint8_t>{1, 3, 255, 4}));
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
    Sim().SetAttached(false);
    Start();
    ASSERT_FALSE(Page().IsConnected());
    Sim().SetAttached(true);
    Sim().ResetCallCounts();
    WaitRecorder recorder(Ui().Clock(), Sim());
    platform::SetCurrentClock(&recorder);
    const uint64_t before = Ui().Clock().NowMs();
    Frame().SendMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
    WaitForDeviceTasks();
    platform::SetCurrentClock(&Ui().Clock());
    EXPECT_EQ(recorder.Waits(), (std::vector<WaitRecorder::Wait>{{RowOf(kDriver).settleMs, 0}}));
    EXPECT_EQ(RowOf(kDriver).settleMs, 200u);
    EXPECT_GE(Ui().Clock().NowMs() - before, 200u);
    EXPECT_EQ(Sim().CallCount("InitMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(Sim().LastOpenSelector(), kDefaultBlock);
    EXPECT_TRUE(Page().IsConnected());
}

TEST_F(HeronDriverPage, AConnectedDriverIsReopenedWithItsBlockAndNoWait) {
    WriteBlockFile({4, 0x0D, 255, 47});
    Start();
    Sim().ResetCallCounts();
    Frame().SendMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
    WaitForDeviceTasks();
    EXPECT_EQ(Sim().CallCount("InitMCUDevice_Heron_Driver"), 1);
    EXPECT_EQ(Sim().CallCount("ReadMCUDevice_Heron_Driver"), 0);
    EXPECT_EQ(Sim().LastOpenSelector(), (Block{4, 0x0D, 255, 47}));
}

}  // namespace
