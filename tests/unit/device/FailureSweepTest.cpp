// Makes each entry point used by a grouped operation fail in turn (on every call) and checks that
// every grouped operation using it reports false and does not crash.
#include <functional>

#include "DeviceTestSupport.h"

namespace {

using B = DeviceLibraryBinding;

struct SweepCase {
    const char* name;
    EntryPoint failing;
    std::function<bool(B&)> operation;
};

template <class C>
C WithStages() {
    C c;
    c.stageCount = 3;
    c.currentStage = 1;
    c.stages.assign(7, DpiStage{10, 20, 30, 3});
    return c;
}

template <class C>
C WithOneKey() {
    C c;
    c.keyLists[0].push_back({{1, 1, 0, 0}, 0});
    c.keyLists[1].push_back({{1, 2, 0, 0}, 0});
    return c;
}

template <class C>
C WithFireMacro() {
    C c;
    c.fireMacros.resize(1);
    return c;
}

const std::vector<uint8_t> kEvents = {0xFD, 0x00, 0xFC, 0x00};

// A short encoded macro: the Heron counts its length in one byte, the driver in two.
std::vector<uint8_t> MacroData(DeviceModel model) {
    if (model == DeviceModel::Heron) return {1, 3, 0xFD, 0, 0xFC, 0};
    return {1, 0, 3, 0xFD, 0, 0xFC, 0};
}

#define FAMILY_E_CASES(M, C)                                                      \
    SweepCase{#M "_GetKeyMode", EntryPoint::Devcie_Get_Key_Mode_##M,              \
              [](B& b) {                                                          \
                  C c;                                                            \
                  return b.ReadProfileIndex(c);                                   \
              }},                                                                 \
        SweepCase{#M "_SetKeyMode", EntryPoint::Devcie_Set_Key_Mode_##M,          \
                  [](B& b) { return b.WriteProfileIndex(C{}); }},                 \
        SweepCase{#M "_GetReportRate", EntryPoint::Devcie_Get_Report_Rate_##M,    \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadReportRate(c);                                 \
                  }},                                                             \
        SweepCase{#M "_SetReportRate", EntryPoint::Devcie_Set_Report_Rate_##M,    \
                  [](B& b) { return b.WriteReportRate(C{}); }},                   \
        SweepCase{#M "_SetRate", EntryPoint::Device_Set_LED_Breath_Rate_##M,      \
                  [](B& b) { return b.WriteLighting(C{}); }},                     \
        SweepCase{#M "_SetMode", EntryPoint::Device_Set_LED_Breath_Mode_##M,      \
                  [](B& b) { return b.WriteLighting(C{}); }},                     \
        SweepCase{#M "_GetGear", EntryPoint::Device_Get_Current_CPI_Gear_##M,     \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadStages(c);                                     \
                  }},                                                             \
        SweepCase{#M "_GetNumber", EntryPoint::Device_Get_Number_CPI_##M,         \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadStages(c);                                     \
                  }},                                                             \
        SweepCase{#M "_GetValue", EntryPoint::Device_Get_CPI_Value_##M,           \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadStages(c);                                     \
                  }},                                                             \
        SweepCase{#M "_GetColor", EntryPoint::Device_Get_CPI_Color_##M,           \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadStages(c);                                     \
                  }},                                                             \
        SweepCase{#M "_SetGear", EntryPoint::Device_Set_Current_CPI_Gear_##M,     \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},           \
        SweepCase{#M "_SetNumber", EntryPoint::Device_Set_Number_CPI_##M,         \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},           \
        SweepCase{#M "_SetValue", EntryPoint::Device_Set_CPI_Value_##M,           \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},           \
        SweepCase{#M "_SetColor", EntryPoint::Device_Set_CPI_Color_##M,           \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},           \
        SweepCase{#M "_GetMacroKey", EntryPoint::Devcie_Get_Macro_Key_##M,        \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadMacroKeys(c, 0, 4);                            \
                  }},                                                             \
        SweepCase{#M "_SetMacroKey", EntryPoint::Devcie_Set_Macro_Key_##M,        \
                  [](B& b) { return b.WriteMacroKey(WithOneKey<C>(), 0, 0); }},   \
        SweepCase{#M "_GetFireKey", EntryPoint::Device_Get_Fire_Key_Data_##M,     \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadFireSlots(c);                                  \
                  }},                                                             \
        SweepCase{#M "_SetFireKey", EntryPoint::Device_Set_Fire_Key_Data_##M,     \
                  [](B& b) { return b.WriteFireSlot(C{}, 1); }},                  \
        SweepCase{#M "_GetFireMacro", EntryPoint::Device_Get_Fire_Macro_Data_##M, \
                  [](B& b) {                                                      \
                      C c;                                                        \
                      return b.ReadFireMacro(c, 0);                               \
                  }},                                                             \
        SweepCase{#M "_SetFireMacro", EntryPoint::Device_Set_Fire_Macro_Data_##M, \
                  [](B& b) { return b.WriteFireMacro(WithFireMacro<C>(), 0); }},  \
        SweepCase {                                                               \
#M "_SetMacro", EntryPoint::Device_Set_Macro_Data_##M,                    \
            [](B & b) { return b.WriteMacro(C::kModel, -1, u"m", kEvents, 4); }   \
    }

#define FAMILY_H_CASES(M, C)                                                                        \
    SweepCase{#M "_GetKeyMode", EntryPoint::Device_Get_Key_Mode_##M,                                \
              [](B& b) {                                                                            \
                  C c;                                                                              \
                  return b.ReadProfileIndex(c);                                                     \
              }},                                                                                   \
        SweepCase{#M "_SetKeyMode", EntryPoint::Device_Set_Key_Mode_##M,                            \
                  [](B& b) { return b.WriteProfileIndex(C{}); }},                                   \
        SweepCase{#M "_GetStep", EntryPoint::Device_Get_CPI_Step_##M,                               \
                  [](B& b) {                                                                        \
                      C c;                                                                          \
                      return b.ReadStages(c);                                                       \
                  }},                                                                               \
        SweepCase{#M "_GetCurrent", EntryPoint::Device_Get_Current_CPI_##M,                         \
                  [](B& b) {                                                                        \
                      C c;                                                                          \
                      return b.ReadStages(c);                                                       \
                  }},                                                                               \
        SweepCase{#M "_GetValue", EntryPoint::Device_Get_CPI_Value_##M,                             \
                  [](B& b) {                                                                        \
                      C c;                                                                          \
                      return b.ReadStages(c);                                                       \
                  }},                                                                               \
        SweepCase{#M "_GetRgb", EntryPoint::Device_Get_CPI_RGB_##M,                                 \
                  [](B& b) {                                                                        \
                      C c;                                                                          \
                      return b.ReadStages(c);                                                       \
                  }},                                                                               \
        SweepCase{#M "_SetStep", EntryPoint::Device_Set_CPI_Step_##M,                               \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},                             \
        SweepCase{#M "_SetCurrent", EntryPoint::Device_Set_Current_CPI_##M,                         \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},                             \
        SweepCase{#M "_SetValue", EntryPoint::Device_Set_CPI_Value_##M,                             \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},                             \
        SweepCase{#M "_SetRgb", EntryPoint::Device_Set_CPI_RGB_##M,                                 \
                  [](B& b) { return b.WriteStages(WithStages<C>()); }},                             \
        SweepCase{#M "_GetFireCount", EntryPoint::Device_Get_Fire_Count_##M,                        \
                  [](B& b) {                                                                        \
                      C c;                                                                          \
                      return b.ReadFire(c);                                                         \
                  }},                                                                               \
        SweepCase{#M "_GetFireTime", EntryPoint::Device_Get_Fire_Time_##M,                          \
                  [](B& b) {                                                                        \
                      C c;                                                                          \
                      return b.ReadFire(c);                                                         \
                  }},                                                                               \
        SweepCase{#M "_SetFireCount", EntryPoint::Device_Set_Fire_Count_##M,                        \
                  [](B& b) { return b.WriteFire(C{}); }},                                           \
        SweepCase{#M "_SetFireTime", EntryPoint::Device_Set_Fire_Time_##M,                          \
                  [](B& b) { return b.WriteFire(C{}); }},                                           \
        SweepCase{#M "_GetKey", EntryPoint::Device_Get_Pro_File_Data_##M,                           \
                  [](B& b) {                                                                        \
                      C c;                                                                          \
                      return b.ReadKeys(c, 1, 3);                                                   \
                  }},                                                                               \
        SweepCase{#M "_SetKey", EntryPoint::Device_Set_Pro_File_Data_##M,                           \
                  [](B& b) { return b.WriteKeys(WithOneKey<C>(), 1); }},                            \
        SweepCase{#M "_SetOneKey", EntryPoint::Device_Set_Pro_File_Data_##M,                        \
                  [](B& b) { return b.WriteKey(WithOneKey<C>(), 1, 0); }},                          \
        SweepCase{#M "_GetMacro", EntryPoint::Device_Get_Marco_Buffer_##M,                          \
                  [](B& b) {                                                                        \
                      b.MacroCache(C::kModel)->Put(300, {u"m", MacroData(C::kModel), 0});           \
                      b.WriteMacroBuffer(C::kModel, 300);                                           \
                      return b.ReadMacroBuffer(C::kModel, 300);                                     \
                  }},                                                                               \
        SweepCase{#M "_SetMacro", EntryPoint::Device_Set_Marco_Buffer_##M,                          \
                  [](B& b) {                                                                        \
                      b.MacroCache(C::kModel)->Put(300, {u"m", MacroData(C::kModel), 0});           \
                      return b.WriteMacroBuffer(C::kModel, 300);                                    \
                  }},                                                                               \
        SweepCase {                                                                                 \
#M "_Write", EntryPoint::WriteMCUDevice_##M, [](B & b) { return b.WriteDevice(C::kModel); } \
    }

std::vector<SweepCase> Cases() {
    return {
        SweepCase{"Plover_GetLed", EntryPoint::Device_GetLedData,
                  [](B& b) {
                      KeyboardConfig k;
                      return b.ReadLedBlock(k, 1);
                  }},
        SweepCase{"Plover_GetTable", EntryPoint::Device_GetProFileData,
                  [](B& b) {
                      B::KeyTable t;
                      return b.ReadKeyTable(0, t);
                  }},
        SweepCase{"Plover_SetTable", EntryPoint::Device_WriteProFileData,
                  [](B& b) { return b.WriteKeyTable(1, B::KeyTable{}); }},
        SweepCase{"Plover_SetMacro", EntryPoint::Device_WriteMarcoData,
                  [](B& b) {
                      MacroList list;
                      list.Add({u"m", {0x06}, 0});
                      return b.WriteMacros(list);
                  }},
        FAMILY_E_CASES(Egret, EgretConfig),
        FAMILY_E_CASES(Ibis, IbisConfig),
        FAMILY_E_CASES(Crane, CraneConfig),
        SweepCase{"Ibis_GetRate", EntryPoint::Device_Get_LED_Breath_Rate_Ibis,
                  [](B& b) {
                      IbisConfig c;
                      return b.ReadLighting(c);
                  }},
        SweepCase{"Ibis_GetMode", EntryPoint::Device_Get_LED_Breath_Mode_Ibis,
                  [](B& b) {
                      IbisConfig c;
                      return b.ReadLighting(c);
                  }},
        SweepCase{"Crane_GetRate", EntryPoint::Device_Get_LED_Breath_Rate_Crane,
                  [](B& b) {
                      CraneConfig c;
                      return b.ReadLighting(c);
                  }},
        SweepCase{"Crane_GetMode", EntryPoint::Device_Get_LED_Breath_Mode_Crane,
                  [](B& b) {
                      CraneConfig c;
                      return b.ReadLighting(c);
                  }},
        SweepCase{"Crane_GetCombo", EntryPoint::Devcie_Get_Combo_Key_Crane,
                  [](B& b) {
                      CraneConfig c;
                      return b.ReadComboKeys(c);
                  }},
        SweepCase{"Crane_SetCombo", EntryPoint::Devcie_Set_Combo_Key_Crane,
                  [](B& b) { return b.WriteComboKeys(CraneConfig{}); }},
        SweepCase{"Egret_SetUart", EntryPoint::Devcie_Set_Uart_Led_Data_Egret,
                  [](B& b) {
                      SimControl(DeviceModel::Egret).SetVariant(1);
                      EgretConfig c;
                      c.uartLeds.resize(1);
                      return b.WriteUartLed(c, 0);
                  }},
        FAMILY_H_CASES(Heron, HeronConfig),
        FAMILY_H_CASES(Heron_Driver, HeronDriverConfig),
        SweepCase{"Heron_GetLedOn", EntryPoint::Device_Get_Led_On_Off_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadLightState(c);
                  }},
        SweepCase{"Heron_GetControl", EntryPoint::Device_Get_MCULED_Control_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadLightState(c);
                  }},
        SweepCase{"Heron_GetLedMode", EntryPoint::Device_Get_MCULED_Current_Mode_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadLightState(c);
                  }},
        SweepCase{"Heron_GetLedStep", EntryPoint::Device_Get_MCULED_Current_Step_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadLightState(c);
                  }},
        SweepCase{"Heron_SetLedOn", EntryPoint::Device_Set_Led_On_Off_Heron,
                  [](B& b) { return b.WriteLightState(HeronConfig{}); }},
        SweepCase{"Heron_SetControl", EntryPoint::Device_Set_MCULED_Control_Heron,
                  [](B& b) { return b.WriteLightState(HeronConfig{}); }},
        SweepCase{"Heron_SetLedMode", EntryPoint::Device_Set_MCULED_Current_Mode_Heron,
                  [](B& b) { return b.WriteLightState(HeronConfig{}); }},
        SweepCase{"Heron_SetLedStep", EntryPoint::Device_Set_MCULED_Current_Step_Heron,
                  [](B& b) { return b.WriteLightState(HeronConfig{}); }},
        SweepCase{"Heron_GetMiddle", EntryPoint::Device_Get_MiddleKey_Press_Type_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadPressTypes(c);
                  }},
        SweepCase{"Heron_GetCpi", EntryPoint::Device_Get_CPIKey_Press_Type_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadPressTypes(c);
                  }},
        SweepCase{"Heron_GetGun", EntryPoint::Device_Get_GunKey_Press_Type_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadPressTypes(c);
                  }},
        SweepCase{"Heron_SetMiddle", EntryPoint::Device_Set_MiddleKey_Press_Type_Heron,
                  [](B& b) { return b.WritePressTypes(HeronConfig{}); }},
        SweepCase{"Heron_SetCpi", EntryPoint::Device_Set_CPIKey_Press_Type_Heron,
                  [](B& b) { return b.WritePressTypes(HeronConfig{}); }},
        SweepCase{"Heron_SetGun", EntryPoint::Device_Set_GunKey_Press_Type_Heron,
                  [](B& b) { return b.WritePressTypes(HeronConfig{}); }},
        SweepCase{"Heron_GetFireMacro", EntryPoint::Device_Get_Fire_Macro_Data_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadFireMacro(c, 0);
                  }},
        SweepCase{"Heron_GetFireRgb", EntryPoint::Device_Get_Fire_RGB_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadFireMacro(c, 0);
                  }},
        SweepCase{"Heron_GetFireY", EntryPoint::Device_Get_Fire_YAxis_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadFireMacro(c, 0);
                  }},
        SweepCase{"Heron_GetFireBuffer", EntryPoint::Device_Get_Fire_Buffer_Heron,
                  [](B& b) {
                      HeronConfig c;
                      return b.ReadFireMacro(c, 0);
                  }},
        SweepCase{"Heron_SetFireRgb", EntryPoint::Device_Set_Fire_RGB_Heron,
                  [](B& b) { return b.WriteFireBuffer(WithFireMacro<HeronConfig>(), 0); }},
        SweepCase{"Heron_SetFireBuffer", EntryPoint::Device_Set_Fire_Buffer_Heron,
                  [](B& b) { return b.WriteFireBuffer(WithFireMacro<HeronConfig>(), 0); }},
        SweepCase{"Driver_WriteLedStages", EntryPoint::Device_WriteLedCPIData_Heron_Driver,
                  [](B& b) { return b.WriteLedStages(HeronDriverConfig{}); }},
    };
}

class FailureSweep : public DeviceTest, public ::testing::WithParamInterface<SweepCase> {};

TEST_P(FailureSweep, GroupedOperationReportsTheFailure) {
    const SweepCase& c = GetParam();
    ASSERT_TRUE(OpenAll());
    B& binding = Binding();
    ASSERT_TRUE(c.operation(binding)) << "succeeds without the failure";
    const EntryPointInfo& info = InfoOf(c.failing);
    ASSERT_EQ(SimControl(info.model).Inject(info.name, 0, 5), 0);
    EXPECT_FALSE(c.operation(binding)) << info.name;
}

INSTANTIATE_TEST_SUITE_P(EveryEntryPoint, FailureSweep, ::testing::ValuesIn(Cases()),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(DeviceTest, OperationsThatAlwaysReportSuccessSurviveFailures) {
    ASSERT_TRUE(OpenAll());
    SimControl(DeviceModel::Plover).Inject("Device_WriteLedData", 0, 5);
    SimControl(DeviceModel::Egret).Inject("Device_Get_LED_Breath_Rate_Egret", 0, 5);
    SimControl(DeviceModel::Egret).Inject("Device_Get_LED_Breath_Mode_Egret", 0, 5);
    SimControl(DeviceModel::Ibis).Inject("Device_Get_Macro_Data_Ibis", 0, 5);
    KeyboardConfig keyboard;
    EXPECT_TRUE(Binding().WriteLedBlock(keyboard, 0));
    EgretConfig egret;
    egret.lightingMode = 3, egret.lightingSpeed = 3;
    EXPECT_TRUE(Binding().ReadLighting(egret));
    EXPECT_EQ(egret.lightingMode, 0);
    EXPECT_EQ(egret.lightingSpeed, 0);
    IbisConfig ibis;
    EXPECT_TRUE(Binding().ReadMacros(ibis));
}

}  // namespace
