// The simulated libraries themselves: exports, persistence across processes, devsim, the change
// callback, images, default files, bad input and calls from two threads.
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "DeviceTestSupport.h"
#include "platform/MessageEndpoint.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(DeviceTest, EachLibraryExportsItsResolutionListAndOnlyControlNamesBeside) {
    for (DeviceModel model : kLibraryLoadOrder) {
        const std::string path = BinFolder() + LibraryFileName(model);
        FILE* pipe = popen(("nm -D --defined-only " + path).c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::set<std::string> exported;
        char line[512];
        while (fgets(line, sizeof line, pipe)) {
            std::string text(line);
            const size_t space = text.rfind(' ');
            std::string name = text.substr(space + 1);
            while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
            exported.insert(name);
        }
        pclose(pipe);
        std::set<std::string> listed;
        for (const EntryPointInfo& info : AllEntryPoints())
            if (info.model == model) listed.insert(info.name);
        for (const std::string& name : listed) EXPECT_TRUE(exported.count(name)) << path << " lacks " << name;
        for (const std::string& name : exported) {
            if (!listed.count(name)) {
                EXPECT_EQ(name.rfind("OakSim_", 0), 0u) << path << " exports " << name;
            }
        }
    }
}

TEST_F(DeviceTest, SettingsSurviveIntoAnotherProcess) {
    ASSERT_TRUE(OpenAll());
    EgretConfig egret;
    ASSERT_TRUE(Binding().ReadStages(egret));
    egret.stages[6].level = 321;
    egret.reportRate = 1;
    ASSERT_TRUE(Binding().WriteStages(egret));
    ASSERT_TRUE(Binding().WriteReportRate(egret));
    std::string dump;
    ASSERT_EQ(Devsim("dump egret", &dump), 0);
    EXPECT_NE(dump.find("stageLevel: 3 7 15 31 47 63 321"), std::string::npos) << dump;
    EXPECT_NE(dump.find("reportRate: 1"), std::string::npos) << dump;

    // ...and back: devsim resets the mouse, this process sees the factory state again.
    ASSERT_EQ(Devsim("reset egret"), 0);
    EgretConfig fresh;
    ASSERT_TRUE(Binding().ReadReportRate(fresh));
    EXPECT_EQ(fresh.reportRate, 3);
}

TEST_F(DeviceTest, DevsimUnplugMakesTheOpenFailUntilPluggedAgain) {
    auto open = [] {
        return Binding().Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, 0);
    };
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(Devsim("unplug egret"), 0);
    EXPECT_NE(open(), 0);
    int32_t value = 0;
    EXPECT_NE(Binding().Call(EntryPoint::Devcie_Get_Report_Rate_Egret, &value), 0);  // the handle is gone too
    std::string list;
    ASSERT_EQ(Devsim("list", &list), 0);
    EXPECT_NE(list.find("Egret (Lumenor_Egret.so"), std::string::npos);
    ASSERT_EQ(Devsim("plug all"), 0);
    EXPECT_EQ(open(), 0);
}

TEST_F(DeviceTest, DevsimTellsARunningProgramThatDevicesChanged) {
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);  // a private endpoint folder, not the desktop's
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::pair<uint32_t, int64_t>> messages;
    auto endpoint = platform::MessageEndpoint::Claim(
        "Oakridge", [](uint32_t message) { return message == 0x0219; },
        [&](uint32_t message, int64_t wParam, int64_t) {
            std::lock_guard lock(mutex);
            messages.emplace_back(message, wParam);
            arrived.notify_all();
        });
    ASSERT_NE(endpoint, nullptr);
    ASSERT_EQ(Devsim("unplug crane"), 0);
    std::unique_lock lock(mutex);
    ASSERT_TRUE(arrived.wait_for(lock, std::chrono::seconds(10), [&] { return !messages.empty(); }));
    EXPECT_EQ(messages[0], std::make_pair(uint32_t{0x0219}, int64_t{7}));
}

TEST_F(DeviceTest, DevsimRejectsBadUsageAndDocumentsItself) {
    std::string out;
    EXPECT_EQ(Devsim("--help", &out), 0);
    EXPECT_NE(out.find("press MODEL BUTTON"), std::string::npos);
    EXPECT_EQ(Devsim("press egret sideways"), 2);
    EXPECT_EQ(Devsim("latency egret soon"), 2);
    EXPECT_EQ(Devsim("frobnicate"), 2);
    EXPECT_EQ(Devsim("unplug nosuchmouse"), 1);
    EXPECT_EQ(Devsim("variant ibis 1"), 1);  // only the Egret comes in variants
    EXPECT_EQ(Devsim("fail egret Device_Get_Number_CPI_Egret 2 7"), 0);
    ASSERT_TRUE(OpenAll());
    int32_t value = 0;
    EXPECT_EQ(Binding().Call(EntryPoint::Device_Get_Number_CPI_Egret, &value), 0);
    EXPECT_EQ(Binding().Call(EntryPoint::Device_Get_Number_CPI_Egret, &value), 7);
    EXPECT_EQ(Binding().Call(EntryPoint::Device_Get_Number_CPI_Egret, &value), 0);
}

struct CallbackLog {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int32_t, int32_t>> calls;

    static void Record(int32_t* profile, int32_t* stage, void* context) {
        auto* log = static_cast<CallbackLog*>(context);
        std::lock_guard lock(log->mutex);
        log->calls.emplace_back(*profile, *stage);
        log->changed.notify_all();
    }
    bool WaitFor(size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return calls.size() >= count; });
    }
};

TEST_F(DeviceTest, DevicePressesReachTheRegisteredCallback) {
    ASSERT_TRUE(OpenAll());
    CallbackLog log;
    ASSERT_EQ(
        Binding().Call(EntryPoint::Device_SetCallBack_Egret, &CallbackLog::Record, static_cast<void*>(&log)),
        0);

    ASSERT_EQ(Devsim("press egret stage-up"), 0);  // from another process
    ASSERT_TRUE(log.WaitFor(1));
    {
        std::lock_guard lock(log.mutex);
        EXPECT_EQ(log.calls[0], std::make_pair(0, 3));  // factory stage 2 of 4, one-based
    }
    ASSERT_EQ(SimControl(DeviceModel::Egret).Press(0), 0);  // the profile button, in this process
    ASSERT_TRUE(log.WaitFor(2));
    std::lock_guard lock(log.mutex);
    EXPECT_EQ(log.calls[1], std::make_pair(1, 3));
}

TEST_F(DeviceTest, StageButtonsWrapWithinTheStageCount) {
    ASSERT_TRUE(OpenAll());
    SimControl ibis(DeviceModel::Ibis);
    IbisConfig config;
    for (int press = 0; press < 3; ++press) ASSERT_EQ(ibis.Press(1), 0);
    ASSERT_TRUE(Binding().ReadStages(config));
    EXPECT_EQ(config.currentStage, 1);  // 2 -> 3 -> 4 -> 1 with four stages
    ASSERT_EQ(ibis.Press(2), 0);
    ASSERT_TRUE(Binding().ReadStages(config));
    EXPECT_EQ(config.currentStage, 4);
}

TEST_F(DeviceTest, ConfigurationImagesGoBackUnchangedAndForeignOnesAreRefused) {
    ASSERT_TRUE(OpenAll());
    auto& b = Binding();
    std::vector<uint8_t> image(2048);
    ASSERT_EQ(b.Call(EntryPoint::EEPROM_Save_Configuration_Egret, image.data()), 0);
    IbisConfig ibis;
    ibis.reportRate = 0;
    ASSERT_TRUE(b.WriteReportRate(ibis));
    std::vector<uint8_t> ibisImage(2048);
    ASSERT_EQ(b.Call(EntryPoint::EEPROM_Save_Configuration_Ibis, ibisImage.data()), 0);

    EXPECT_EQ(b.Call(EntryPoint::EEPROM_Write_Configuration_Egret, image.data()), 0);
    std::vector<uint8_t> again(2048);
    ASSERT_EQ(b.Call(EntryPoint::EEPROM_Save_Configuration_Egret, again.data()), 0);
    EXPECT_EQ(again, image);
    EXPECT_NE(b.Call(EntryPoint::EEPROM_Write_Configuration_Egret, ibisImage.data()), 0);  // another model's
    EXPECT_NE(b.Call(EntryPoint::EEPROM_Write_Configuration_Egret, static_cast<uint8_t*>(nullptr)), 0);

    // The driver takes a short image as the file's bytes followed by zeros.
    std::vector<uint8_t> driver(40960);
    ASSERT_EQ(b.Call(EntryPoint::Device_Get_Device_Data_Heron_Driver, driver.data(), int32_t{40960}), 0);
    driver[100] = 0x5A;
    ASSERT_EQ(b.Call(EntryPoint::Device_Set_Device_Data_Heron_Driver, driver.data(), int32_t{101}), 0);
    std::vector<uint8_t> back(40960);
    ASSERT_EQ(b.Call(EntryPoint::Device_Get_Device_Data_Heron_Driver, back.data(), int32_t{40960}), 0);
    EXPECT_EQ(back[100], 0x5A);
    EXPECT_EQ(back[168], 0);
    EXPECT_NE(b.Call(EntryPoint::Device_Set_Device_Data_Heron_Driver, driver.data(), int32_t{40961}), 0);
    EXPECT_NE(b.Call(EntryPoint::Device_Get_Device_Data_Heron, driver.data(), int32_t{100}), 0);
}

// The driver is another way to the Heron mouse: it answers to the Heron's ids, takes the page's
// four-byte selector with them, and still takes images saved while it had an id of its own.
TEST_F(DeviceTest, TheDriverAnswersToTheHeronsIdsWithItsSelector) {
    auto& b = Binding();
    SimControl driver(DeviceModel::HeronDriver);
    const struct {
        const char* what;
        int32_t vid, pid, s0, s1, s2, s3;
        bool opens;
    } cases[] = {
        {"the Heron's ids", kLumenorVid, kHeronPid, 1, 2, 255, 4, true},
        {"another block", kLumenorVid, kHeronPid, 0x23, 0x0F, 0, 63, true},
        {"the driver's old id", kLumenorVid, 0x0202, 1, 2, 255, 4, false},
        {"another vendor", 0x1234, kHeronPid, 1, 2, 255, 4, false},
        {"a selector byte past 255", kLumenorVid, kHeronPid, 1, 2, 256, 4, false},
        {"a negative selector byte", kLumenorVid, kHeronPid, -1, 2, 255, 4, false},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(b.Call(EntryPoint::InitMCUDevice_Heron_Driver, kLumenorVid, int32_t{kHeronPid}, 9, 9, 9, 9),
                  0);
        EXPECT_EQ(b.Call(EntryPoint::InitMCUDevice_Heron_Driver, c.vid, c.pid, c.s0, c.s1, c.s2, c.s3) == 0,
                  c.opens)
            << c.what;
        const std::array<int32_t, 4> expected =
            c.opens ? std::array<int32_t, 4>{c.s0, c.s1, c.s2, c.s3} : std::array<int32_t, 4>{9, 9, 9, 9};
        EXPECT_EQ(driver.LastOpenSelector(), expected) << c.what;
    }

    std::string dump;
    ASSERT_EQ(Devsim("dump heron-driver", &dump), 0);
    EXPECT_NE(dump.find("pid 0x0201"), std::string::npos) << dump;
    EXPECT_NE(dump.find("pid: 513"), std::string::npos) << dump;  // the factory image names the Heron too

    ASSERT_EQ(b.Call(EntryPoint::InitMCUDevice_Heron_Driver, kLumenorVid, int32_t{kHeronPid}, 1, 2, 255, 4),
              0);
    std::vector<uint8_t> image(40960);
    ASSERT_EQ(b.Call(EntryPoint::Device_Get_Device_Data_Heron_Driver, image.data(), int32_t{40960}), 0);
    image[28] = 0x02, image[29] = 0x02;
    EXPECT_EQ(b.Call(EntryPoint::Device_Set_Device_Data_Heron_Driver, image.data(), int32_t{40960}), 0);
}

TEST_F(DeviceTest, DefaultFilesMatchTheFactoryStateAndLoadIntoTheDevices) {
    ASSERT_TRUE(OpenAll());
    struct Expect {
        const char* file;
        size_t size;
    };
    for (const Expect& e : {Expect{"EgretBData_Cfg1.bin", 2048},
                            {"IbisBData_Cfg1.bin", 2048},
                            {"IbisBData_Cfg2.bin", 2048},
                            {"IbisBData_Cfg3.bin", 2048},
                            {"CraneAData_Cfg1.bin", 2048},
                            {"CraneAData_Cfg2.bin", 2048},
                            {"CraneAData_Cfg3.bin", 2048},
                            {"HeronData_Cfg1.bin", 2048},
                            {"Driver_HeronData_Cfg1.bin", 40960},
                            {"DefaultData_1.bin", 2048}})
        EXPECT_EQ(ReadFile(BinFolder() + e.file).size(), e.size) << e.file;

    std::vector<uint8_t> factory(2048);
    ASSERT_EQ(Binding().Call(EntryPoint::EEPROM_Save_Configuration_Egret, factory.data()), 0);
    EXPECT_EQ(ReadFile(BinFolder() + "EgretBData_Cfg1.bin"), factory);

    // The three Ibis defaults differ in what a user sees: stage sets and lighting.
    std::set<std::pair<int, int>> looks;
    for (int n = 1; n <= 3; ++n) {
        std::vector<uint8_t> image = ReadFile(BinFolder() + "IbisBData_Cfg" + std::to_string(n) + ".bin");
        ASSERT_EQ(Binding().Call(EntryPoint::EEPROM_Write_Configuration_Ibis, image.data()), 0);
        IbisConfig config;
        ASSERT_TRUE(Binding().ReadStages(config) && Binding().ReadLighting(config));
        looks.emplace(config.stageCount, config.lightingMode);
    }
    EXPECT_EQ(looks.size(), 3u);

    // The keyboard default holds each key's default code where the keyboard page looks for it.
    const std::vector<uint8_t> keyboard = ReadFile(BinFolder() + "DefaultData_1.bin");
    DeviceLibraryBinding::KeyTable table{};
    ASSERT_TRUE(Binding().ReadKeyTable(1, table));
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(keyboard[488 + i], table[184 + i]);
    EXPECT_EQ(keyboard[80], 0x29);
    EXPECT_EQ(keyboard[304 + 3], table[3]);
}

TEST_F(DeviceTest, BadArgumentsAreRefusedWithoutCrashing) {
    ASSERT_TRUE(OpenAll());
    auto& b = Binding();
    uint8_t r = 0, g = 0, bl = 0;
    int32_t value = 0;
    struct Case {
        const char* what;
        int32_t status;
    };
    const Case cases[] = {
        {"stage index 7", b.Call(EntryPoint::Device_Get_CPI_Value_Egret, int32_t{7}, &value)},
        {"negative stage", b.Call(EntryPoint::Device_Get_CPI_Color_Ibis, int32_t{-1}, &r, &g, &bl)},
        {"null output", b.Call(EntryPoint::Device_Get_Number_CPI_Crane, static_cast<int32_t*>(nullptr))},
        {"stage count 8", b.Call(EntryPoint::Device_Set_Number_CPI_Egret, int32_t{8})},
        {"colour 256",
         b.Call(EntryPoint::Device_Set_CPI_Color_Egret, int32_t{0}, int32_t{256}, int32_t{0}, int32_t{0})},
        {"colour -1",
         b.Call(EntryPoint::Device_Set_CPI_Color_Egret, int32_t{0}, int32_t{-1}, int32_t{0}, int32_t{0})},
        {"key byte -1", b.Call(EntryPoint::Devcie_Set_Macro_Key_Ibis, int32_t{1}, int32_t{1}, int32_t{-1},
                               int32_t{0}, int32_t{0}, int32_t{0})},
        {"Heron colour -1",
         b.Call(EntryPoint::Device_Set_CPI_RGB_Heron, int32_t{-1}, int32_t{0}, int32_t{0}, int32_t{1})},
        {"combo byte -128", b.Call(EntryPoint::Devcie_Set_Combo_Key_Crane, int32_t{2}, int32_t{-128},
                                   int32_t{0}, int32_t{0}, int32_t{0})},
        {"keyboard LED byte -1", b.Call(EntryPoint::Device_WriteLedData, int32_t{0}, int32_t{-1}, int32_t{0},
                                        int32_t{0}, int32_t{0})},
        {"key 0", b.Call(EntryPoint::Devcie_Get_Macro_Key_Egret, int32_t{1}, int32_t{0}, &r, &g, &bl, &r)},
        {"key 17", b.Call(EntryPoint::Devcie_Get_Macro_Key_Egret, int32_t{1}, int32_t{17}, &r, &g, &bl, &r)},
        {"Heron RGB stage 0",
         b.Call(EntryPoint::Device_Get_CPI_RGB_Heron, &value, &value, &value, int32_t{0})},
        {"combo block 3", b.Call(EntryPoint::Devcie_Get_Combo_Key_Crane, int32_t{3}, &r, &g, &bl, &r)},
        {"LED block 2", b.Call(EntryPoint::Device_GetLedData, int32_t{2}, &r, &g, &bl, &r)},
        {"macro index -2", b.Call(EntryPoint::Device_Set_Macro_Data_Egret, int32_t{-2}, &r, &r, int32_t{1})},
        {"macro length 225",
         b.Call(EntryPoint::Device_Set_Macro_Data_Egret, int32_t{-1}, &r, &r, int32_t{225})},
        {"macro below memory", b.Call(EntryPoint::Device_Get_Marco_Buffer_Heron, int32_t{5}, &r, &r)},
        {"fire buffer too short",
         b.Call(EntryPoint::Device_Set_Fire_Buffer_Heron, int32_t{0}, &r, int32_t{1})},
        {"profile 2 on the Heron", b.Call(EntryPoint::Device_Set_Key_Mode_Heron, int32_t{2})},
        {"profile 2 on the Crane", b.Call(EntryPoint::Devcie_Set_Key_Mode_Crane, int32_t{2})},
    };
    for (const Case& c : cases) EXPECT_NE(c.status, 0) << c.what;
    uint8_t name[32], events[144];
    EXPECT_EQ(b.Call(EntryPoint::Device_WriteMarcoData, int32_t{6}, name, events), -1);
    EXPECT_EQ(b.Call(EntryPoint::Device_WriteMarcoData, int32_t{-1}, name, events), -1);
}

TEST_F(DeviceTest, LatencyDelaysTransfers) {
    ASSERT_TRUE(OpenAll());
    ASSERT_EQ(SimControl(DeviceModel::Heron).SetLatency(30), 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Binding().Call(EntryPoint::ReadMCUDevice_Heron), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_NE(SimControl(DeviceModel::Heron).SetLatency(-1), 0);
}

TEST_F(DeviceTest, OneLibraryCalledFromTwoThreads) {
    ASSERT_TRUE(OpenAll());
    auto writer = [] {
        CraneConfig config;
        for (int i = 0; i < 200; ++i) {
            config.reportRate = i % 4;
            config.rapidFire[i % 3] = {i % 16, i, 0};
            EXPECT_TRUE(Binding().WriteReportRate(config));
            EXPECT_TRUE(Binding().WriteFireSlot(config, i % 3));
        }
    };
    auto reader = [] {
        CraneConfig config;
        for (int i = 0; i < 200; ++i) {
            EXPECT_TRUE(Binding().ReadReportRate(config));
            EXPECT_TRUE(Binding().ReadStages(config));
            EXPECT_LE(config.reportRate, 3);
        }
    };
    std::thread first(writer), second(reader);
    first.join();
    second.join();
    CraneConfig config;
    ASSERT_TRUE(Binding().ReadFireSlots(config));
    EXPECT_EQ(config.rapidFire[199 % 3].interval, 199);
}

}  // namespace
