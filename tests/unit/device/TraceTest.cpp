// Failed entry-point calls and the grouped operations they stop are traced, readably.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "DeviceTestSupport.h"
#include "platform/Trace.h"

namespace {

// The captured lines that contain every one of `parts`.
std::vector<std::string> LinesWith(const platform::TraceCapture& capture, std::vector<std::string> parts) {
    std::vector<std::string> found;
    for (const std::string& line : capture.Lines()) {
        if (std::all_of(parts.begin(), parts.end(),
                        [&](const std::string& part) { return line.find(part) != std::string::npos; }))
            found.push_back(line);
    }
    return found;
}

std::string All(const platform::TraceCapture& capture) {
    std::string text;
    for (const std::string& line : capture.Lines()) text += line + "\n";
    return text;
}

// What the Egret page reads after opening the device, with a failure injected from another process.
TEST_F(DeviceTest, TraceOfAReadWithAnInjectedFailureNamesTheCallAndItsStatus) {
    ASSERT_EQ(Devsim("fail egret Device_Get_CPI_Color_Egret 3 7"), 0);
    ASSERT_TRUE(OpenAll());
    platform::TraceCapture capture;
    EgretConfig config;
    EXPECT_TRUE(Binding().ReadProfileIndex(config));
    EXPECT_TRUE(Binding().ReadReportRate(config));
    EXPECT_FALSE(Binding().ReadStages(config));

    EXPECT_EQ(LinesWith(capture, {"Device_Get_CPI_Color_Egret(2, ", "status 7"}).size(), 1u) << All(capture);
    EXPECT_EQ(LinesWith(capture, {"ReadStages gave up", "Device_Get_CPI_Color_Egret", "status 7"}).size(), 1u)
        << All(capture);
    EXPECT_EQ(capture.Lines().size(), 2u) << "calls that succeed are not traced\n" << All(capture);
}

// Integers as numbers, output integers as such, the binding's buffers by their size.
TEST_F(DeviceTest, TracedArgumentsSayWhatTheyAre) {
    ASSERT_TRUE(OpenAll());
    SimControl egret(DeviceModel::Egret);
    SimControl heron(DeviceModel::Heron);
    SimControl plover(DeviceModel::Plover);
    egret.Inject("Device_Get_Macro_Data_Egret", 0, 4);
    egret.Inject("Device_Set_Fire_Key_Data_Egret", 0, 4);
    heron.Inject("Device_Get_Marco_Buffer_Heron", 0, 4);
    plover.Inject("Device_GetProFileData", 0, 4);
    platform::TraceCapture capture;

    EgretConfig config;
    config.rapidFire[1].count = 12;
    config.rapidFire[1].interval = 345;
    EXPECT_TRUE(Binding().ReadMacros(config));  // the first failing index ends the list
    EXPECT_FALSE(Binding().WriteFireSlot(config, 1));
    EXPECT_FALSE(Binding().ReadMacroBuffer(DeviceModel::Heron, 35));
    DeviceLibraryBinding::KeyTable table{};
    EXPECT_FALSE(Binding().ReadKeyTable(1, table));

    const std::string expected[] = {
        "device: Device_Get_Macro_Data_Egret(0, 34-byte buffer, 224-byte buffer, &int, &int) failed with "
        "status 4",
        "device: Device_Set_Fire_Key_Data_Egret(1, 12, 345) failed with status 4",
        "device: WriteFireSlot gave up: Device_Set_Fire_Key_Data_Egret failed with status 4",
        "device: Device_Get_Marco_Buffer_Heron(35, 34-byte buffer, 256-byte buffer) failed with status 4",
        "device: ReadMacroBuffer gave up: Device_Get_Marco_Buffer_Heron failed with status 4",
        "device: Device_GetProFileData(1, 216-byte buffer) failed with status 4",
        "device: ReadKeyTable gave up: Device_GetProFileData failed with status 4",
    };
    EXPECT_EQ(capture.Lines(), std::vector<std::string>(std::begin(expected), std::end(expected)));
}

// A group that goes on after a failed call names it when it finally reports false.
TEST_F(DeviceTest, GroupThatCarriesOnNamesTheCallThatFailed) {
    ASSERT_TRUE(OpenAll());
    SimControl(DeviceModel::Heron).Inject("Device_Get_MCULED_Control_Heron", 1, 3);
    platform::TraceCapture capture;
    HeronConfig config;
    EXPECT_FALSE(Binding().ReadLightState(config));
    const std::vector<std::string> expected = {
        "device: Device_Get_MCULED_Control_Heron(&int) failed with status 3",
        "device: ReadLightState gave up: Device_Get_MCULED_Control_Heron failed with status 3",
    };
    EXPECT_EQ(capture.Lines(), expected);
}

TEST_F(DeviceTest, CallThroughAnEmptySlotIsTracedAsUnresolved) {
    const std::filesystem::path empty = std::filesystem::path(folder_) / "no-libraries";
    std::filesystem::create_directory(empty);
    DeviceLibraryBinding binding(empty.string());
    platform::TraceCapture capture;
    EgretConfig config;
    EXPECT_FALSE(binding.WriteProfileIndex(config));
    EXPECT_EQ(binding.Call(EntryPoint::Device_ReloadDevice), DeviceLibraryBinding::kUnresolved);
    const std::vector<std::string> expected = {
        "device: Devcie_Set_Key_Mode_Egret(0) failed with status -1000 (not resolved: library or name "
        "missing)",
        "device: WriteProfileIndex gave up: Devcie_Set_Key_Mode_Egret failed with status -1000",
        "device: Device_ReloadDevice() failed with status -1000 (not resolved: library or name missing)",
    };
    EXPECT_EQ(capture.Lines(), expected);
}

}  // namespace
