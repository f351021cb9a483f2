// What the libraries and the binding promise each other beyond single values: images are checked
// before they replace a device's memory, byte values travel as 0 to 255, write groups stop at the
// first refusal, read groups that keep going really call everything, and every USB transfer pays
// the configured latency.
#include <chrono>
#include <functional>

#include "DeviceTestSupport.h"

namespace {

using B = DeviceLibraryBinding;
using Clock = std::chrono::steady_clock;

struct ImageAccess {
    EntryPoint save;
    EntryPoint load;
    size_t size;
    bool sized;  // the entry points take the buffer size as a second argument
};

ImageAccess AccessOf(DeviceModel model) {
    switch (model) {
        case DeviceModel::Egret:
            return {EntryPoint::EEPROM_Save_Configuration_Egret, EntryPoint::EEPROM_Write_Configuration_Egret,
                    2048, false};
        case DeviceModel::Ibis:
            return {EntryPoint::EEPROM_Save_Configuration_Ibis, EntryPoint::EEPROM_Write_Configuration_Ibis,
                    2048, false};
        case DeviceModel::Crane:
            return {EntryPoint::Devcie_Get_Device_Data_Crane, EntryPoint::EEPROM_Write_Configuration_Crane,
                    2048, true};
        case DeviceModel::Heron:
            return {EntryPoint::Device_Get_Device_Data_Heron, EntryPoint::Device_Set_Device_Data_Heron, 2048,
                    true};
        default:
            return {EntryPoint::Device_Get_Device_Data_Heron_Driver,
                    EntryPoint::Device_Set_Device_Data_Heron_Driver, 40960, true};
    }
}

std::vector<uint8_t> SaveImage(DeviceModel model) {
    const ImageAccess a = AccessOf(model);
    std::vector<uint8_t> image(a.size);
    const int32_t status = a.sized ? B::Instance().Call(a.save, image.data(), static_cast<int32_t>(a.size))
                                   : B::Instance().Call(a.save, image.data());
    EXPECT_EQ(status, 0);
    return image;
}

int32_t LoadImage(DeviceModel model, std::vector<uint8_t> image) {
    const ImageAccess a = AccessOf(model);
    return a.sized ? B::Instance().Call(a.load, image.data(), static_cast<int32_t>(image.size()))
                   : B::Instance().Call(a.load, image.data());
}

// Family-E macro records: [length high, length low][16-byte name][events] from offset 1024.
void PutRecord(std::vector<uint8_t>& image, size_t at, size_t length) {
    image[at] = static_cast<uint8_t>(length >> 8), image[at + 1] = static_cast<uint8_t>(length);
    image[at + 3] = 'M';
    for (size_t i = 0; i < length && at + 18 + i < image.size(); ++i) image[at + 18 + i] = 0x41;
}

TEST_F(DeviceTest, DamagedImagesAreRefusedAndTheDeviceKeepsItsMemory) {
    ASSERT_TRUE(OpenAll());
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    struct Case {
        const char* what;
        DeviceModel model;
        Edit edit;
    };
    const Case cases[] = {
        {"macro of 1006 event bytes", DeviceModel::Egret, [](auto& m) { PutRecord(m, 1024, 1006); }},
        {"macro of 225 event bytes", DeviceModel::Ibis, [](auto& m) { PutRecord(m, 1024, 225); }},
        {"last macro runs past the memory", DeviceModel::Crane,
         [](auto& m) {
             for (size_t at = 1024, n = 0; n < 4; ++n, at += 18 + 224) PutRecord(m, at, 224);
             PutRecord(m, 1024 + 4 * (18 + 224), 100);
         }},
        {"no stages", DeviceModel::Egret, [](auto& m) { m[5] = 0; }},
        {"eight stages", DeviceModel::Ibis, [](auto& m) { m[5] = 8; }},
        {"current stage past the count", DeviceModel::Egret, [](auto& m) { m[5] = 4, m[6] = 5; }},
        {"current stage 0 where stages count from 1", DeviceModel::Crane, [](auto& m) { m[6] = 0; }},
        {"fourth profile", DeviceModel::Egret, [](auto& m) { m[4] = 3; }},
        {"third profile of a two-profile mouse", DeviceModel::Crane, [](auto& m) { m[4] = 2; }},
        {"report rate 4", DeviceModel::Ibis, [](auto& m) { m[7] = 4; }},
        {"fire count -2", DeviceModel::Egret, [](auto& m) { m[20] = 0xFE; }},
        {"Heron with nine stages", DeviceModel::Heron, [](auto& m) { m[5] = 9; }},
        {"Heron current stage 5 of 5", DeviceModel::Heron, [](auto& m) { m[5] = 5, m[6] = 5; }},
        {"driver with a third profile", DeviceModel::HeronDriver, [](auto& m) { m[4] = 2; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> before = SaveImage(c.model);
        std::vector<uint8_t> damaged = before;
        c.edit(damaged);
        EXPECT_NE(LoadImage(c.model, damaged), 0);
        EXPECT_EQ(SaveImage(c.model), before);
    }

    // A record of exactly 224 event bytes is a macro like any other.
    std::vector<uint8_t> image = SaveImage(DeviceModel::Egret);
    PutRecord(image, 1024, 224);
    ASSERT_EQ(LoadImage(DeviceModel::Egret, image), 0);
    EgretConfig egret;
    ASSERT_TRUE(Binding().ReadMacros(egret));
    ASSERT_EQ(egret.macros.size(), 1u);
    EXPECT_EQ(egret.macros[0].data.size(), 224u);
}

TEST_F(DeviceTest, FireMacroAdjustmentsTravelAsBytes) {
    ASSERT_TRUE(OpenAll());
    uint8_t pattern[24] = {0xFD, 1, 0xFC};
    // The library takes only 0 to 255 for a byte; a sign-extended value is refused.
    EXPECT_NE(Binding().Call(EntryPoint::Device_Set_Fire_Macro_Data_Egret, int32_t{0}, pattern, int32_t{-3},
                             int32_t{0}, int32_t{0}, int32_t{0}, int32_t{0}),
              0);

    IbisConfig ibis;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Binding().ReadFireMacro(ibis, i));
    ibis.fireMacros[2].xAdjust = -3;
    ibis.fireMacros[2].yAdjust = -128;
    ASSERT_TRUE(Binding().WriteFireMacro(ibis, 2));
    uint8_t x = 0, y = 0;
    ASSERT_EQ(Binding().Call(EntryPoint::Device_Get_Data_By_Addr_Ibis, int32_t{472 + 2 * 32}, &x), 0);
    ASSERT_EQ(Binding().Call(EntryPoint::Device_Get_Data_By_Addr_Ibis, int32_t{473 + 2 * 32}, &y), 0);
    EXPECT_EQ(x, 253);
    EXPECT_EQ(y, 128);
    IbisConfig back;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Binding().ReadFireMacro(back, i));
    EXPECT_EQ(back.fireMacros[2].xAdjust, -3);
    EXPECT_EQ(back.fireMacros[2].yAdjust, -128);
}

TEST_F(DeviceTest, StageWritesStopAtARefusedCountOrCurrentStage) {
    ASSERT_TRUE(OpenAll());
    struct Case {
        DeviceModel model;
        const char* failing;
        std::vector<const char*> untouched;
        std::function<bool(B&)> write;
    };
    const auto egret = [](B& b) {
        EgretConfig c;
        return b.ReadStages(c) && b.WriteStages(c);
    };
    const auto heron = [](B& b) {
        HeronConfig c;
        return b.ReadStages(c) && b.WriteStages(c);
    };
    const Case cases[] = {
        {DeviceModel::Egret,
         "Device_Set_Current_CPI_Gear_Egret",
         {"Device_Set_Number_CPI_Egret", "Device_Set_CPI_Value_Egret", "Device_Set_CPI_Color_Egret"},
         egret},
        {DeviceModel::Egret, "Device_Set_Number_CPI_Egret", {"Device_Set_CPI_Value_Egret"}, egret},
        {DeviceModel::Heron,
         "Device_Set_CPI_Step_Heron",
         {"Device_Set_Current_CPI_Heron", "Device_Set_CPI_Value_Heron", "Device_Set_CPI_RGB_Heron"},
         heron},
        {DeviceModel::Heron, "Device_Set_Current_CPI_Heron", {"Device_Set_CPI_Value_Heron"}, heron},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        SimControl sim(c.model);
        ASSERT_EQ(sim.Inject(c.failing, 0), 0);
        sim.ResetCallCounts();
        EXPECT_FALSE(c.write(Binding()));
        EXPECT_EQ(sim.CallCount(c.failing), 1);
        for (const char* name : c.untouched) EXPECT_EQ(sim.CallCount(name), 0) << name;
        sim.ClearFailures();
    }
}

TEST_F(DeviceTest, IbisAndCraneLightingReadsCallBothEntryPoints) {
    ASSERT_TRUE(OpenAll());
    IbisConfig ibisWritten;
    ibisWritten.lightingSpeed = 7, ibisWritten.lightingMode = 4;
    CraneConfig craneWritten;
    craneWritten.lightingSpeed = 6, craneWritten.lightAll = 0, craneWritten.lightingMode = 5;
    ASSERT_TRUE(Binding().WriteLighting(ibisWritten) && Binding().WriteLighting(craneWritten));

    struct Case {
        DeviceModel model;
        const char* failing;
        const char* other;
    };
    const Case cases[] = {
        {DeviceModel::Ibis, "Device_Get_LED_Breath_Rate_Ibis", "Device_Get_LED_Breath_Mode_Ibis"},
        {DeviceModel::Ibis, "Device_Get_LED_Breath_Mode_Ibis", "Device_Get_LED_Breath_Rate_Ibis"},
        {DeviceModel::Crane, "Device_Get_LED_Breath_Rate_Crane", "Device_Get_LED_Breath_Mode_Crane"},
        {DeviceModel::Crane, "Device_Get_LED_Breath_Mode_Crane", "Device_Get_LED_Breath_Rate_Crane"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        SimControl sim(c.model);
        ASSERT_EQ(sim.Inject(c.failing, 0), 0);
        sim.ResetCallCounts();
        const bool rateFails = std::string(c.failing).find("Rate") != std::string::npos;
        if (c.model == DeviceModel::Ibis) {
            IbisConfig config;
            config.lightingSpeed = config.lightingMode = -1;  // what the failed call must leave alone
            EXPECT_FALSE(Binding().ReadLighting(config));
            EXPECT_EQ(config.lightingSpeed, rateFails ? -1 : 7);
            EXPECT_EQ(config.lightingMode, rateFails ? 4 : -1);
        } else {
            CraneConfig config;
            config.lightingSpeed = config.lightAll = config.lightingMode = -1;
            EXPECT_FALSE(Binding().ReadLighting(config));
            EXPECT_EQ(config.lightingSpeed, rateFails ? -1 : 6);
            EXPECT_EQ(config.lightAll, rateFails ? -1 : 0);
            EXPECT_EQ(config.lightingMode, rateFails ? 5 : -1);
        }
        EXPECT_EQ(sim.CallCount(c.other), 1);
        sim.ClearFailures();
    }
}

// Calls this process made into `model`'s library since the last reset.
int32_t CallsInto(DeviceModel model) {
    SimControl sim(model);
    int32_t calls = 0;
    for (const EntryPointInfo& info : AllEntryPoints())
        if (info.model == model) calls += sim.CallCount(info.name);
    return calls;
}

template <class C>
void FamilyETraffic(B& b) {
    C c;
    b.ReadProfileIndex(c), b.ReadReportRate(c), b.ReadLighting(c), b.ReadStages(c), b.ReadMacroKeys(c, 0, 16);
    b.ReadFireSlots(c), b.ReadFireMacro(c, 0), b.ReadMacros(c);
    b.WriteProfileIndex(c), b.WriteReportRate(c), b.WriteLighting(c), b.WriteStages(c),
        b.WriteMacroKey(c, 0, 3);
    b.WriteFireSlot(c, 1), b.WriteFireMacro(c, 0);
    const uint8_t events[] = {0xFD, 0x00, 0xFC};
    b.WriteMacro(C::kModel, -1, u"m", events, 3);
    b.ReadMacros(c);
}

TEST_F(DeviceTest, EveryTransferPaysTheLatencyAndStagedSettersDoNot) {
    ASSERT_TRUE(OpenAll());
    struct Traffic {
        DeviceModel model;
        const char* what;
        std::function<void(B&)> run;
    };
    const Traffic transfers[] = {
        {DeviceModel::Egret, "Egret groups",
         [](B& b) {
             FamilyETraffic<EgretConfig>(b);
             EgretConfig c;
             c.uartLeds.resize(1);
             SimControl(DeviceModel::Egret).SetVariant(1);
             b.ReadLighting(c), b.WriteUartLed(c, 0);
             uint8_t block[8] = {};
             b.Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret, block);
             b.Call(EntryPoint::Devcie_Set_Led_Mode_Data_Egret, block);
             b.Call(EntryPoint::ReadDeviceData_Egret, &c.deviceKind);
         }},
        {DeviceModel::Ibis, "Ibis groups", [](B& b) { FamilyETraffic<IbisConfig>(b); }},
        {DeviceModel::Crane, "Crane groups",
         [](B& b) {
             FamilyETraffic<CraneConfig>(b);
             CraneConfig c;
             int32_t time = 0;
             b.ReadComboKeys(c), b.WriteComboKeys(c);
             b.Call(EntryPoint::Device_Get_Increased_Random_Time, &time);
             b.Call(EntryPoint::Device_Set_Increased_Random_Time, time);
         }},
        {DeviceModel::Plover, "keyboard tables, macros and image",
         [](B& b) {
             B::KeyTable table{};
             b.ReadKeyTable(0, table), b.WriteKeyTable(0, table);
             MacroList macros;
             macros.Add({u"k", {0x04}, 0});
             b.WriteMacros(macros);
             uint8_t name[32], events[144];
             b.Call(EntryPoint::Device_GetMarcoData, int32_t{0}, name, events);
             std::vector<uint8_t> image(2048);
             b.Call(EntryPoint::Device_ReadEEPromData, image.data());
             b.Call(EntryPoint::Device_WriteEEpromData, image.data());
             b.Call(EntryPoint::Device_ReloadDevice);
         }},
        {DeviceModel::Heron, "Heron reads, writes and data blocks",
         [](B& b) {
             b.Call(EntryPoint::ReadMCUDevice_Heron), b.Call(EntryPoint::WriteMCUDevice_Heron);
             b.Call(EntryPoint::WriteFireData_Heron);
             LoadImage(DeviceModel::Heron, SaveImage(DeviceModel::Heron));
         }},
        {DeviceModel::HeronDriver, "driver reads, writes and data blocks",
         [](B& b) {
             b.Call(EntryPoint::ReadMCUDevice_Heron_Driver), b.Call(EntryPoint::WriteMCUDevice_Heron_Driver);
             LoadImage(DeviceModel::HeronDriver, SaveImage(DeviceModel::HeronDriver));
         }},
    };
    constexpr int kLatencyMs = 3;
    for (const Traffic& t : transfers) {
        SCOPED_TRACE(t.what);
        SimControl sim(t.model);
        ASSERT_EQ(sim.SetLatency(kLatencyMs), 0);
        sim.ResetCallCounts();
        const auto start = Clock::now();
        t.run(Binding());
        const auto elapsed = Clock::now() - start;
        const int32_t calls = CallsInto(t.model);
        EXPECT_GE(elapsed, std::chrono::milliseconds(kLatencyMs * calls)) << calls << " calls";
        ASSERT_EQ(sim.SetLatency(0), 0);
    }

    // The Heron models' setters only change the library's copy: a slow mouse does not slow them.
    constexpr int kSlowMs = 2000;
    ASSERT_EQ(SimControl(DeviceModel::Heron).SetLatency(kSlowMs), 0);
    ASSERT_EQ(SimControl(DeviceModel::HeronDriver).SetLatency(kSlowMs), 0);
    const auto start = Clock::now();
    HeronConfig heron;
    HeronDriverConfig driver;
    heron.stages.assign(7, DpiStage{1, 2, 3, 4});
    driver.stages = heron.stages;
    heron.stageCount = driver.stageCount = 3;
    EXPECT_TRUE(Binding().WriteStages(heron) && Binding().WriteLightState(heron) &&
                Binding().WriteFire(heron));
    EXPECT_TRUE(Binding().WriteStages(driver) && Binding().WriteLedStages(driver));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kSlowMs));
}

}  // namespace
