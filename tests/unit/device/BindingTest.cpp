// DeviceLibraryBinding against the real simulated libraries.
#include <unistd.h>

#include "DeviceTestSupport.h"
#include "device/DeviceName.h"

namespace {

using DLB = DeviceLibraryBinding;

TEST_F(DeviceTest, InstanceLoadsEveryLibraryOnceAndResolvesAllSlots) {
    DLB& first = DLB::Instance();
    DLB& second = DLB::Instance();
    EXPECT_EQ(&first, &second);
    for (DeviceModel model : kLibraryLoadOrder) {
        EXPECT_TRUE(first.IsLoaded(model)) << LibraryFileName(model);
        EXPECT_EQ(first.LoadCount(model), 1) << LibraryFileName(model);
    }
    for (size_t slot = 0; slot < kEntryPointCount; ++slot)
        EXPECT_TRUE(first.IsResolved(static_cast<EntryPoint>(slot))) << AllEntryPoints()[slot].name;
}

TEST_F(DeviceTest, StageReadFailingAtStageThreeKeepsTwoStages) {
    ASSERT_TRUE(OpenAll());
    SimControl(DeviceModel::Egret).Inject("Device_Get_CPI_Value_Egret", 3);
    EgretConfig config;
    config.stages.resize(7);
    EXPECT_FALSE(Binding().ReadStages(config));
    ASSERT_EQ(config.stages.size(), 2u);
    EXPECT_EQ(config.stages[1].level, 7);
    EXPECT_EQ(config.stages[1].green, 255);
}

TEST_F(DeviceTest, WriteStagesStopsAtTheRefusedSecondStage) {
    ASSERT_TRUE(OpenAll());
    SimControl egret(DeviceModel::Egret);
    EgretConfig config;
    ASSERT_TRUE(Binding().ReadStages(config));
    egret.Inject("Device_Set_CPI_Value_Egret", 2);
    egret.ResetCallCounts();
    EXPECT_FALSE(Binding().WriteStages(config));
    EXPECT_EQ(egret.CallCount("Device_Set_CPI_Value_Egret"), 2);  // stage 0 and stage 1's value
    EXPECT_EQ(egret.CallCount("Device_Set_CPI_Color_Egret"), 1);  // stage 0's colour only
}

TEST_F(DeviceTest, StagesRoundTripOnEveryMouse) {
    ASSERT_TRUE(OpenAll());
    auto roundTrip = [](auto& config, int current) {
        ASSERT_TRUE(Binding().ReadStages(config));
        ASSERT_EQ(config.stages.size(), 7u);
        config.stageCount = 6;
        config.currentStage = current;
        config.stages[5] = {12, 34, 56, 99};
        ASSERT_TRUE(Binding().WriteStages(config));
        std::remove_reference_t<decltype(config)> again;
        ASSERT_TRUE(Binding().ReadStages(again));
        EXPECT_EQ(again.stageCount, 6);
        EXPECT_EQ(again.currentStage, current);
        EXPECT_EQ(again.stages, config.stages);
    };
    EgretConfig egret;
    IbisConfig ibis;
    CraneConfig crane;
    HeronConfig heron;
    HeronDriverConfig driver;
    roundTrip(egret, 6);
    roundTrip(ibis, 1);
    roundTrip(crane, 3);
    roundTrip(heron, 5);  // zero-based on the Heron models
    roundTrip(driver, 0);
}

TEST_F(DeviceTest, ReadMacrosOnADeviceWithoutMacrosIsAnEmptySuccess) {
    ASSERT_TRUE(OpenAll());
    CraneConfig config;
    config.macros.Add({u"stale", {1, 2}, 7});
    EXPECT_TRUE(Binding().ReadMacros(config));
    EXPECT_TRUE(config.macros.empty());
}

TEST_F(DeviceTest, MacroNameComesBackUnchangedAndIsStoredHighByteFirst) {
    ASSERT_TRUE(OpenAll());
    const std::vector<uint8_t> events = {0xFD, 0x00, 0x82, 0x04, 0x02, 0x04, 0xFC, 0x00};
    ASSERT_TRUE(Binding().WriteMacro(DeviceModel::Ibis, -1, u"Ab\u00e9Z", events, 8));
    ASSERT_TRUE(Binding().WriteMacro(DeviceModel::Ibis, -1, u"second", events, 8));
    IbisConfig config;
    ASSERT_TRUE(Binding().ReadMacros(config));
    ASSERT_EQ(config.macros.size(), 2u);
    EXPECT_EQ(config.macros[0].name, u"Ab\u00e9Z");
    EXPECT_EQ(config.macros[0].data, events);
    EXPECT_NE(config.macros[0].id, config.macros[1].id);

    uint8_t name[34] = {}, raw[224] = {};
    int32_t id = 0, length = 0;
    ASSERT_EQ(Binding().Call(EntryPoint::Device_Get_Macro_Data_Ibis, 0, name, raw, &id, &length), 0);
    EXPECT_EQ(std::vector<uint8_t>(name, name + 8), (std::vector<uint8_t>{0, 'A', 0, 'b', 0, 0xE9, 0, 'Z'}));

    // Deleting the first renumbers the second, as the device does.
    const int oldId = config.macros[1].id;
    ASSERT_TRUE(Binding().WriteMacro(DeviceModel::Ibis, 0, u"", {}, 0));
    ASSERT_TRUE(Binding().ReadMacros(config));
    ASSERT_EQ(config.macros.size(), 1u);
    EXPECT_EQ(config.macros[0].name, u"second");
    EXPECT_NE(config.macros[0].id, oldId);
}

TEST_F(DeviceTest, KeyboardMacrosAreCutAtTheirFieldsAndStopAtTheLastSlot) {
    ASSERT_TRUE(OpenAll());
    SimControl plover(DeviceModel::Plover);
    MacroList none;
    plover.ResetCallCounts();
    EXPECT_TRUE(Binding().WriteMacros(none));
    EXPECT_EQ(plover.CallCount("Device_WriteMarcoData"), 0);

    MacroList macros;
    macros.Add({u"a name far longer than sixteen", std::vector<uint8_t>(200, 0x81), 0});
    macros.Add({u"short", {0x05, 0x00, 0x81, 0x04, 0x01, 0x04, 0x06}, 0});
    ASSERT_TRUE(Binding().WriteMacros(macros));
    uint8_t name[32], events[144];
    ASSERT_EQ(Binding().Call(EntryPoint::Device_GetMarcoData, 0, name, events), 0);
    EXPECT_EQ(DecodeDeviceName(name, sizeof name), u"a name far longe");
    EXPECT_EQ(events[143], 0x81);
    ASSERT_EQ(Binding().Call(EntryPoint::Device_GetMarcoData, 1, name, events), 0);
    EXPECT_EQ(DecodeDeviceName(name, sizeof name), u"short");
    EXPECT_NE(Binding().Call(EntryPoint::Device_GetMarcoData, 2, name, events), 0);  // empty slot

    for (int i = 2; i < 7; ++i) macros.Add({u"m" + std::u16string(1, char16_t(u'0' + i)), {0x06}, 0});
    plover.ResetCallCounts();
    EXPECT_FALSE(Binding().WriteMacros(macros));  // slot 6 answers -1
    EXPECT_EQ(plover.CallCount("Device_WriteMarcoData"), 7);
}

TEST_F(DeviceTest, HeronMacroCacheFetchesAndSendsMacrosById) {
    ASSERT_TRUE(OpenAll());
    // Stop mode, length 8, count 1, press and release of key 4, end, check byte.
    const std::vector<uint8_t> data = {0x01, 0x08, 0xFD, 0x00, 0x82, 0x04, 0x02, 0x04, 0xFC, 0xD7};
    for (DeviceModel model : {DeviceModel::Heron, DeviceModel::HeronDriver}) {
        std::vector<uint8_t> encoded = data;
        if (model == DeviceModel::HeronDriver) encoded.insert(encoded.begin() + 1, 0x00);  // 16-bit length
        HeronMacroCache* cache = Binding().MacroCache(model);
        ASSERT_NE(cache, nullptr);
        const int id = 256 + (model == DeviceModel::Heron ? 33 : 32);
        EXPECT_FALSE(Binding().CachedMacro(model, id).has_value());  // nothing stored there yet
        cache->Put(id, {u"Reload", encoded, 0});
        ASSERT_TRUE(Binding().WriteMacroBuffer(model, id));
        cache->Clear();
        const auto fetched = Binding().CachedMacro(model, id);
        ASSERT_TRUE(fetched.has_value());
        EXPECT_EQ(fetched->name, u"Reload");
        EXPECT_EQ(fetched->data, encoded);
        EXPECT_EQ(cache->Ids(), std::vector<int>{id});
    }
    EXPECT_FALSE(Binding().WriteMacroBuffer(DeviceModel::Heron, 999));  // not in the cache
    EXPECT_EQ(Binding().MacroCache(DeviceModel::Egret), nullptr);
}

TEST_F(DeviceTest, HeronChangesReachTheMouseOnlyWhenWritten) {
    ASSERT_TRUE(OpenAll());
    HeronConfig config;
    ASSERT_TRUE(Binding().ReadLightState(config));
    config.lightingMode = 4;
    config.ledOn = 1;
    ASSERT_TRUE(Binding().WriteLightState(config));
    std::vector<uint8_t> device(2048);
    ASSERT_EQ(Binding().Call(EntryPoint::Device_Get_Device_Data_Heron, device.data(), int32_t{2048}), 0);
    HeronConfig staged;
    ASSERT_TRUE(Binding().ReadLightState(staged));
    EXPECT_EQ(staged.lightingMode, 4);  // the library's copy has it

    std::string dump;
    ASSERT_EQ(Devsim("dump heron", &dump), 0);
    EXPECT_NE(dump.find("lightingMode: 0"), std::string::npos) << dump;  // the mouse does not
    ASSERT_TRUE(Binding().WriteDevice(DeviceModel::Heron));
    ASSERT_EQ(Devsim("dump heron", &dump), 0);
    EXPECT_NE(dump.find("lightingMode: 4"), std::string::npos) << dump;

    // A re-read from the mouse replaces unsent changes.
    config.lightingMode = 2;
    ASSERT_TRUE(Binding().WriteLightState(config));
    ASSERT_EQ(Binding().Call(EntryPoint::ReadMCUDevice_Heron), 0);
    ASSERT_TRUE(Binding().ReadLightState(staged));
    EXPECT_EQ(staged.lightingMode, 4);
}

// One key of either profile goes to the library's image alone; the other keys keep their codes.
TEST_F(DeviceTest, OneFamilyHKeyIsSetAlone) {
    ASSERT_TRUE(OpenAll());
    auto check = [&]<class C>(C config) {
        SCOPED_TRACE(static_cast<int>(C::kModel));
        ASSERT_TRUE(Binding().ReadKeys(config, 0, 4));
        ASSERT_TRUE(Binding().ReadKeys(config, 1, 4));
        C before = config;
        config.keyLists[1][2].code = {3, 0x12, 0x34, 0};
        config.keyLists[0][2].code = {9, 9, 9, 0};  // not written
        ASSERT_TRUE(Binding().WriteKey(config, 1, 2));
        C after;
        ASSERT_TRUE(Binding().ReadKeys(after, 0, 4));
        ASSERT_TRUE(Binding().ReadKeys(after, 1, 4));
        EXPECT_EQ(after.keyLists[0], before.keyLists[0]);
        before.keyLists[1][2].code = {3, 0x12, 0x34, 0};
        EXPECT_EQ(after.keyLists[1], before.keyLists[1]);
        EXPECT_FALSE(Binding().WriteKey(config, 1, 4));  // past the list
        EXPECT_FALSE(Binding().WriteKey(config, 2, 0));  // no third profile
    };
    check(HeronConfig{});
    check(HeronDriverConfig{});
}

TEST_F(DeviceTest, FamilyEGroupsRoundTrip) {
    ASSERT_TRUE(OpenAll());
    CraneConfig crane;
    crane.lightingVariant = "RGB";
    ASSERT_TRUE(Binding().ReadMacroKeys(crane, 1, 8));
    ASSERT_EQ(crane.keyLists[1].size(), 8u);
    EXPECT_EQ(crane.keyLists[1][7].keyIndex, 7);
    crane.keyLists[1][3].code = {2, 1, 0x04, 0};
    crane.rapidFire[2] = {-1, 4096, 0};
    crane.reportRate = 2;
    crane.currentProfile = 1;
    crane.lightingMode = 5, crane.lightingSpeed = 9, crane.lightAll = 0;
    crane.comboBlockA = {14, 0, 0, 0};
    crane.comboBlockB = {0x07, 0xD1, 0xF0, 0x18};
    EXPECT_TRUE(Binding().WriteMacroKey(crane, 1, 3));
    EXPECT_FALSE(Binding().WriteMacroKey(crane, 1, 8));  // no such entry: nothing sent
    EXPECT_FALSE(Binding().WriteMacroKey(crane, 2, 0));  // the Crane has two profiles
    EXPECT_TRUE(Binding().WriteFireSlot(crane, 2));
    EXPECT_TRUE(Binding().WriteReportRate(crane));
    EXPECT_TRUE(Binding().WriteProfileIndex(crane));
    EXPECT_TRUE(Binding().WriteLighting(crane));
    EXPECT_TRUE(Binding().WriteComboKeys(crane));

    CraneConfig back;
    ASSERT_TRUE(Binding().ReadMacroKeys(back, 1, 8));
    EXPECT_EQ(back.keyLists[1][3].code, (std::array<uint8_t, 4>{2, 1, 4, 0}));
    ASSERT_TRUE(Binding().ReadFireSlots(back));
    EXPECT_EQ(back.rapidFire[2].count, -1);
    EXPECT_EQ(back.rapidFire[2].interval, 4096);
    ASSERT_TRUE(Binding().ReadReportRate(back) && Binding().ReadProfileIndex(back));
    EXPECT_EQ(back.reportRate, 2);
    EXPECT_EQ(back.currentProfile, 1);
    ASSERT_TRUE(Binding().ReadLighting(back) && Binding().ReadComboKeys(back));
    EXPECT_EQ(back.lightingMode, 5);
    EXPECT_EQ(back.lightingSpeed, 9);
    EXPECT_EQ(back.lightAll, 0);
    EXPECT_EQ(back.comboBlockB, crane.comboBlockB);

    for (int i = 0; i < 7; ++i) ASSERT_TRUE(Binding().ReadFireMacro(back, i));
    EXPECT_FALSE(Binding().ReadFireMacro(back, 7));  // seven fire macros on the Crane
    back.fireMacros[6].xAdjust = -5;
    back.fireMacros[6].data[1] = 42;
    EXPECT_TRUE(Binding().WriteFireMacro(back, 6));
    EXPECT_FALSE(Binding().WriteFireMacro(back, 7));
    CraneConfig again;
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(Binding().ReadFireMacro(again, i));
    EXPECT_EQ(again.fireMacros[6], back.fireMacros[6]);
}

TEST_F(DeviceTest, EgretVariantDecidesProfilesFireMacrosAndUartLeds) {
    ASSERT_TRUE(OpenAll());
    SimControl egret(DeviceModel::Egret);
    EgretConfig plain;
    ASSERT_EQ(Binding().Call(EntryPoint::ReadDeviceData_Egret, &plain.deviceKind), 0);
    EXPECT_EQ(plain.deviceKind, 0);
    EXPECT_TRUE(Binding().ReadMacroKeys(plain, 2, 4));
    EXPECT_TRUE(Binding().ReadFireMacro(plain, 9));
    uint8_t block[8];
    EXPECT_NE(Binding().Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret, block), 0);

    ASSERT_EQ(egret.SetVariant(1), 0);
    EgretConfig uart;
    ASSERT_EQ(Binding().Call(EntryPoint::ReadDeviceData_Egret, &uart.deviceKind), 0);
    EXPECT_EQ(uart.deviceKind, 1);
    EXPECT_FALSE(Binding().ReadMacroKeys(uart, 2, 4));
    EXPECT_FALSE(Binding().ReadFireMacro(uart, 7));
    ASSERT_TRUE(Binding().ReadLighting(uart));
    ASSERT_EQ(uart.uartLeds.size(), 32u);
    uart.uartLeds[31] = {1, 10, 20, 30};
    EXPECT_TRUE(Binding().WriteUartLed(uart, 31));
    EXPECT_FALSE(Binding().WriteUartLed(uart, 32));
    egret.Inject("Devcie_Get_Uart_Led_Data_Egret", 5);
    ASSERT_TRUE(Binding().ReadLighting(uart));  // a failed entry reads black; the list stays whole
    ASSERT_EQ(uart.uartLeds.size(), 32u);
    EXPECT_EQ(uart.uartLeds[4], (UartLedEntry{1, 0, 0, 0}));
    EXPECT_EQ(uart.uartLeds[31], (UartLedEntry{1, 10, 20, 30}));
    EXPECT_EQ(Binding().Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret, block), 0);
}

TEST_F(DeviceTest, AFailedHeronFireMacroReadKeepsTheSlotsInPlaceAndIsNeverWritten) {
    ASSERT_TRUE(OpenAll());
    HeronConfig heron;
    SimControl(DeviceModel::Heron).Inject("Device_Get_Fire_Buffer_Heron", 2);  // slot 1's buffer
    EXPECT_TRUE(Binding().ReadFireMacro(heron, 0));
    EXPECT_FALSE(Binding().ReadFireMacro(heron, 1));
    EXPECT_TRUE(Binding().ReadFireMacro(heron, 2));
    ASSERT_EQ(heron.fireMacros.size(), 3u);
    EXPECT_FALSE(heron.fireMacros[1].read);
    HeronConfig again;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Binding().ReadFireMacro(again, i));
    EXPECT_EQ(heron.fireMacros[2], again.fireMacros[2]);  // slot 2 stays slot 2
    EXPECT_FALSE(Binding().WriteFireBuffer(heron, 1));
    EXPECT_TRUE(Binding().WriteFireBuffer(heron, 2));
    EXPECT_FALSE(Binding().ReadFireMacro(heron, HeronConfig::kMaxFireMacros));
}

TEST_F(DeviceTest, KeyboardTablesAndLightingRoundTripThroughReload) {
    ASSERT_TRUE(OpenAll());
    KeyboardConfig keyboard;
    DLB::KeyTable table{};
    ASSERT_TRUE(Binding().ReadKeyTable(1, table));
    EXPECT_EQ(table[0], 0x29);  // Esc
    EXPECT_EQ(table[184], 0xA0);
    table[5] = 0xC0;
    table[152] = 0x83, table[153] = 0x04;
    ASSERT_TRUE(Binding().WriteKeyTable(1, table));
    keyboard.ledBlocks[0] = {3, 7, 2, 1};
    EXPECT_TRUE(Binding().WriteLedBlock(keyboard, 0));
    EXPECT_FALSE(Binding().WriteLedBlock(keyboard, 2));
    ASSERT_EQ(Binding().Call(EntryPoint::Device_ReloadDevice), 0);

    std::vector<uint8_t> image(2048);
    ASSERT_EQ(Binding().Call(EntryPoint::Device_ReadEEPromData, image.data()), 0);
    EXPECT_EQ(image[304 + 5], 0xC0);
    EXPECT_EQ(image[304 + 152], 0x83);
    KeyboardConfig back;
    ASSERT_TRUE(Binding().ReadLedBlock(back, 0));
    EXPECT_EQ(back.ledBlocks[0], keyboard.ledBlocks[0]);
}

TEST_F(DeviceTest, AMissingLibraryFailsItsCallsCleanly) {
    const std::string partial = folder_ + "/partial/";
    std::filesystem::create_directories(partial);
    for (DeviceModel model : kLibraryLoadOrder) {
        if (model == DeviceModel::Egret) continue;
        std::filesystem::create_symlink(BinFolder() + LibraryFileName(model),
                                        partial + LibraryFileName(model));
    }
    DLB binding(partial);
    EXPECT_FALSE(binding.IsLoaded(DeviceModel::Egret));
    EXPECT_FALSE(binding.IsResolved(EntryPoint::Device_Get_CPI_Value_Egret));
    EXPECT_EQ(binding.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, 0),
              DLB::kUnresolved);
    EgretConfig config;
    EXPECT_FALSE(binding.ReadStages(config));
    EXPECT_FALSE(binding.WriteStages(config));
    EXPECT_FALSE(binding.ReadProfileIndex(config));
    EXPECT_FALSE(binding.WriteLighting(config));
    EXPECT_TRUE(binding.ReadLighting(config));  // the Egret lighting read reports true regardless
    EXPECT_TRUE(binding.ReadMacros(config));
    EXPECT_TRUE(config.macros.empty());
    EXPECT_FALSE(binding.WriteMacro(DeviceModel::Egret, -1, u"x", std::vector<uint8_t>{1}, 1));

    IbisConfig ibis;  // the others still work
    EXPECT_EQ(binding.Call(EntryPoint::InitMCUDevice_Ibis, int32_t{kLumenorVid}, int32_t{kIbisPid}, 0), 0);
    EXPECT_TRUE(binding.ReadStages(ibis));
}

TEST_F(DeviceTest, OpeningWithForeignIdsFailsAndCallsBeforeOpenAreRefused) {
    auto& b = Binding();
    int32_t value = 0;
    EXPECT_NE(b.Call(EntryPoint::Device_Get_Number_CPI_Egret, &value), 0);
    EXPECT_NE(b.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kIbisPid}, 0), 0);
    EXPECT_EQ(b.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, 0), 0);
    EXPECT_EQ(b.Call(EntryPoint::Device_Get_Number_CPI_Egret, &value), 0);
}

}  // namespace
