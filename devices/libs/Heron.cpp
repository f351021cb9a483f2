// Lumenor_Heron: the Heron mouse reached directly. The library keeps its own copy of the mouse's
// memory: every setter changes the copy, WriteMCUDevice_Heron sends it, WriteFireData_Heron sends
// only the fire slots.
#include "libs/LibraryCommon.h"

namespace {
sim::SimDevice& Dev() {
    static sim::SimDevice device(sim::kHeronSpec);
    return device;
}
constexpr const sim::AddressedMacros& kMacros = sim::kHeronMacros;
constexpr uint32_t kMacroWriteArea = 224;
}  // namespace

#define OAK_MODEL Heron
#include "libs/FamilyH.inc"

OAK_API int32_t InitMCUDevice_Heron(int32_t vid, int32_t pid) {
    return Dev().Open(__func__, vid, pid);
}

OAK_SCALAR(Device_Get_Led_Type_Heron, Device_Set_Led_Type_Heron, LedType)
OAK_SCALAR(Device_Get_Led_On_Off_Heron, Device_Set_Led_On_Off_Heron, LedOnOff)
OAK_SCALAR(Device_Get_Led_B4CPI_On_Off_Heron, Device_Set_Led_B4CPI_On_Off_Heron, LedB4Cpi)
OAK_SCALAR(Device_Get_Led_LCPI_On_Off_Heron, Device_Set_Led_LCPI_On_Off_Heron, LedLcpi)
OAK_SCALAR(Device_Get_Led_FireFn_On_Off_Heron, Device_Set_Led_FireFn_On_Off_Heron, LedFireFn)
OAK_SCALAR(Device_Get_Save_KeyMode_On_Off_Heron, Device_Set_Save_KeyMode_On_Off_Heron, SaveKeyMode)
OAK_SCALAR(Device_Get_MCULED_Control_Heron, Device_Set_MCULED_Control_Heron, McuLedControl)
OAK_SCALAR(Device_Get_Key_Count_Heron, Device_Set_Key_Count_Heron, KeyCount)
OAK_SCALAR(Device_Get_MCULED_Count_Heron, Device_Set_MCULED_Count_Heron, McuLedCount)
OAK_SCALAR(Device_Get_MCULED_Current_Mode_Heron, Device_Set_MCULED_Current_Mode_Heron, McuLedMode)
OAK_SCALAR(Device_Get_RB_Current_Mode_Heron, Device_Set_RB_Current_Mode_Heron, RbMode)
OAK_SCALAR(Device_Get_MCULED_Current_Step_Heron, Device_Set_MCULED_Current_Step_Heron, McuLedStep)
OAK_SCALAR(Device_Get_MiddleKey_Press_Type_Heron, Device_Set_MiddleKey_Press_Type_Heron, MiddlePress)
OAK_SCALAR(Device_Get_CPIKey_Press_Type_Heron, Device_Set_CPIKey_Press_Type_Heron, CpiPress)
OAK_SCALAR(Device_Get_GunKey_Press_Type_Heron, Device_Set_GunKey_Press_Type_Heron, GunPress)
OAK_SCALAR(Device_Get_Sensor_Ori_Heron, Device_Set_Sensor_Ori_Heron, SensorOri)
OAK_SCALAR(Device_Get_DeviceVID_Heron, Device_Set_DeviceVID_Heron, Vid)
OAK_SCALAR(Device_Get_DevicePID_Heron, Device_Set_DevicePID_Heron, Pid)
OAK_SCALAR(Device_Get_MCU_LED_Source_Heron, Device_Set_MCU_LED_Source_Heron, McuLedSource)

OAK_API int32_t Device_Get_Fire_Macro_Data_Heron(int32_t slot, uint8_t* b0, uint8_t* b1, uint8_t* b2) {
    return Dev().GetBytes(__func__, FieldId::FireMacroBytes, slot, {b0, b1, b2});
}
OAK_API int32_t Device_Set_Fire_Macro_Data_Heron(int32_t slot, int32_t b0, int32_t b1, int32_t b2) {
    return Dev().SetBytes(__func__, FieldId::FireMacroBytes, slot, {b0, b1, b2});
}
OAK_API int32_t Device_Get_Fire_YAxis_Heron(int32_t slot, int32_t* value) {
    return Dev().GetInt(__func__, FieldId::FireYAxis, slot, value);
}
OAK_API int32_t Device_Set_Fire_YAxis_Heron(int32_t slot, int32_t value) {
    return Dev().SetInt(__func__, FieldId::FireYAxis, slot, value);
}

// Colour in red, green, blue order here, then the fire slot.
OAK_API int32_t Device_Get_Fire_RGB_Heron(int32_t* red, int32_t* green, int32_t* blue, int32_t slot) {
    return Dev().Run(__func__, sim::kNeedReady, [&](Image& m) {
        const sim::Field& f = FieldOf(FieldId::FireRgb);
        if (slot < 0 || slot >= f.count || !red || !green || !blue) return sim::kBadArgument;
        const uint32_t at = f.ElementOffset(slot);
        *red = m[at], *green = m[at + 1], *blue = m[at + 2];
        return sim::kOk;
    });
}
OAK_API int32_t Device_Set_Fire_RGB_Heron(int32_t red, int32_t green, int32_t blue, int32_t slot) {
    return Dev().SetBytes(__func__, FieldId::FireRgb, slot, {red, green, blue});
}

OAK_API int32_t Device_Get_Fire_Buffer_Heron(int32_t slot, uint8_t* pattern, int32_t size) {
    return Dev().GetBlock(__func__, FieldId::FireMacroPattern, slot, pattern, size);
}
OAK_API int32_t Device_Set_Fire_Buffer_Heron(int32_t slot, const uint8_t* pattern, int32_t size) {
    return Dev().SetBlock(__func__, FieldId::FireMacroPattern, slot, pattern, size);
}

OAK_API int32_t WriteFireData_Heron() {
    return Dev().PushRange(__func__, sim::kHeronFireRegion, sim::kHeronFireRegionSize);
}

OAK_API int32_t Device_Get_Data_By_Addr_Heron(int32_t address, uint8_t* value) {
    return Dev().Run(__func__, sim::kNeedReady, [&](Image& m) {
        if (!value || address < 0 || address >= static_cast<int32_t>(m.size())) return sim::kBadArgument;
        *value = m[static_cast<size_t>(address)];
        return sim::kOk;
    });
}

OAK_API int32_t Device_Get_Change_Data_Heron(int32_t* profile, int32_t* stage) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kDeviceMemory, [&](Image& m) {
        if (!profile || !stage) return sim::kBadArgument;
        *profile = m[FieldOf(FieldId::Profile).offset];
        *stage = m[FieldOf(FieldId::CurrentStage).offset];
        return sim::kOk;
    });
}

OAK_DEFINE_CONTROL_SURFACE()
