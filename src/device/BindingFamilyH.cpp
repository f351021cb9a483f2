// Grouped operations of the Heron and Heron-driver libraries. They act on the library's staged
// copy of the mouse; WriteDevice sends it.
#include <array>

#include "device/DeviceLibraryBinding.h"

namespace {

struct FamilyHSlots {
    EntryPoint getKeyMode, setKeyMode, getStep, setStep, getCurrent, setCurrent, getValue, setValue, getRgb,
        setRgb;
    EntryPoint getFireCount, setFireCount, getFireTime, setFireTime, getKey, setKey, write;
};

#define OAK_FAMILY_H_SLOTS(M)                                                                   \
    FamilyHSlots {                                                                              \
        EntryPoint::Device_Get_Key_Mode_##M, EntryPoint::Device_Set_Key_Mode_##M,               \
            EntryPoint::Device_Get_CPI_Step_##M, EntryPoint::Device_Set_CPI_Step_##M,           \
            EntryPoint::Device_Get_Current_CPI_##M, EntryPoint::Device_Set_Current_CPI_##M,     \
            EntryPoint::Device_Get_CPI_Value_##M, EntryPoint::Device_Set_CPI_Value_##M,         \
            EntryPoint::Device_Get_CPI_RGB_##M, EntryPoint::Device_Set_CPI_RGB_##M,             \
            EntryPoint::Device_Get_Fire_Count_##M, EntryPoint::Device_Set_Fire_Count_##M,       \
            EntryPoint::Device_Get_Fire_Time_##M, EntryPoint::Device_Set_Fire_Time_##M,         \
            EntryPoint::Device_Get_Pro_File_Data_##M, EntryPoint::Device_Set_Pro_File_Data_##M, \
            EntryPoint::WriteMCUDevice_##M                                                      \
    }

const FamilyHSlots kHeronSlots = OAK_FAMILY_H_SLOTS(Heron);
const FamilyHSlots kDriverSlots = OAK_FAMILY_H_SLOTS(Heron_Driver);

// The family's entry points by model, in DeviceModel order; other models have none.
const FamilyHSlots* SlotsOf(DeviceModel model) {
    static constexpr std::array<const FamilyHSlots*, kDeviceModelCount> kByModel = {
        nullptr, &kHeronSlots, nullptr, nullptr, nullptr, &kDriverSlots};
    const auto index = static_cast<size_t>(model);
    return index < kByModel.size() ? kByModel[index] : nullptr;
}

// Reads one integer into `field` only when the call succeeded.
template <class Binding>
bool ReadInto(const Binding& binding, EntryPoint entryPoint, int& field) {
    int32_t value = 0;
    if (binding.Call(entryPoint, &value) != 0) return false;
    field = value;
    return true;
}

}  // namespace

bool DeviceLibraryBinding::ReadProfileIndexH(DeviceModel model, FamilyHConfig& c) {
    return ReadInto(*this, SlotsOf(model)->getKeyMode, c.currentProfile) || GaveUp("ReadProfileIndex");
}

bool DeviceLibraryBinding::WriteProfileIndexH(DeviceModel model, const FamilyHConfig& c) {
    return Call(SlotsOf(model)->setKeyMode, int32_t{c.currentProfile}) == 0 || GaveUp("WriteProfileIndex");
}

bool DeviceLibraryBinding::ReadStagesH(DeviceModel model, FamilyHConfig& c) {
    const FamilyHSlots& s = *SlotsOf(model);
    bool ok = ReadInto(*this, s.getStep, c.stageCount);
    ok = ReadInto(*this, s.getCurrent, c.currentStage) && ok;
    c.stages.clear();
    for (int32_t i = 0; i < FamilyHConfig::kStageSlots; ++i) {
        DpiStage stage;
        int32_t level = 0, blue = 0, green = 0, red = 0;
        if (Call(s.getValue, &level, i) != 0 || Call(s.getRgb, &blue, &green, &red, int32_t{i + 1}) != 0)
            return GaveUp("ReadStages");
        stage.level = level, stage.red = red, stage.green = green, stage.blue = blue;
        c.stages.push_back(stage);
    }
    return ok || GaveUp("ReadStages");
}

bool DeviceLibraryBinding::WriteStagesH(DeviceModel model, const FamilyHConfig& c) {
    const FamilyHSlots& s = *SlotsOf(model);
    if (Call(s.setStep, int32_t{c.stageCount}) != 0 || Call(s.setCurrent, int32_t{c.currentStage}) != 0)
        return GaveUp("WriteStages");
    for (int32_t i = 0; i < FamilyHConfig::kStageSlots; ++i) {
        if (static_cast<size_t>(i) >= c.stages.size()) return false;
        const DpiStage& stage = c.stages[static_cast<size_t>(i)];
        if (Call(s.setValue, int32_t{stage.level}, i) != 0) return GaveUp("WriteStages");
        if (Call(s.setRgb, int32_t{stage.blue}, int32_t{stage.green}, int32_t{stage.red}, int32_t{i + 1}) !=
            0)
            return GaveUp("WriteStages");
    }
    return true;
}

bool DeviceLibraryBinding::ReadFireH(DeviceModel model, FamilyHConfig& c) {
    const bool count = ReadInto(*this, SlotsOf(model)->getFireCount, c.fireCount);
    const bool time = ReadInto(*this, SlotsOf(model)->getFireTime, c.fireTime);
    return (count && time) || GaveUp("ReadFire");
}

bool DeviceLibraryBinding::WriteFireH(DeviceModel model, const FamilyHConfig& c) {
    const bool count = Call(SlotsOf(model)->setFireCount, int32_t{c.fireCount}) == 0;
    const bool time = Call(SlotsOf(model)->setFireTime, int32_t{c.fireTime}) == 0;
    return (count && time) || GaveUp("WriteFire");
}

bool DeviceLibraryBinding::ReadKeysH(DeviceModel model, FamilyHConfig& c, int profile, int count) {
    if (profile < 0 || static_cast<size_t>(profile) >= c.keyLists.size()) return false;
    std::vector<KeySlot>& keys = c.keyLists[static_cast<size_t>(profile)];
    keys.clear();
    for (int32_t k = 0; k < count; ++k) {
        KeySlot slot;
        if (Call(SlotsOf(model)->getKey, int32_t{profile}, k, &slot.code[0], &slot.code[1], &slot.code[2]) !=
            0)
            return GaveUp("ReadKeys");
        slot.keyIndex = k;
        keys.push_back(slot);
    }
    return true;
}

bool DeviceLibraryBinding::WriteKeysH(DeviceModel model, const FamilyHConfig& c, int count) {
    bool ok = true;
    for (int32_t k = 0; k < count; ++k) {
        for (int32_t profile = 0; profile < 2; ++profile) {
            const std::vector<KeySlot>& keys = c.keyLists[static_cast<size_t>(profile)];
            if (static_cast<size_t>(k) >= keys.size()) {
                ok = false;
                continue;
            }
            const auto& code = keys[static_cast<size_t>(k)].code;
            ok = Call(SlotsOf(model)->setKey, profile, k, int32_t{code[0]}, int32_t{code[1]},
                      int32_t{code[2]}) == 0 &&
                 ok;
        }
    }
    return ok || GaveUp("WriteKeys");
}

bool DeviceLibraryBinding::WriteKeyH(DeviceModel model, const FamilyHConfig& c, int profile, int key) {
    if (profile < 0 || static_cast<size_t>(profile) >= c.keyLists.size()) return false;
    const std::vector<KeySlot>& keys = c.keyLists[static_cast<size_t>(profile)];
    if (key < 0 || static_cast<size_t>(key) >= keys.size()) return false;
    const auto& code = keys[static_cast<size_t>(key)].code;
    return Call(SlotsOf(model)->setKey, int32_t{profile}, int32_t{key}, int32_t{code[0]}, int32_t{code[1]},
                int32_t{code[2]}) == 0 ||
           GaveUp("WriteKey");
}

bool DeviceLibraryBinding::WriteDevice(DeviceModel model) {
    const FamilyHSlots* slots = SlotsOf(model);
    return slots && (Call(slots->write) == 0 || GaveUp("WriteDevice"));
}

bool DeviceLibraryBinding::ReadLightState(HeronConfig& config) {
    bool ok = ReadInto(*this, EntryPoint::Device_Get_Led_On_Off_Heron, config.ledOn);
    ok = ReadInto(*this, EntryPoint::Device_Get_MCULED_Control_Heron, config.lightAll) && ok;
    ok = ReadInto(*this, EntryPoint::Device_Get_MCULED_Current_Mode_Heron, config.lightingMode) && ok;
    ok = ReadInto(*this, EntryPoint::Device_Get_MCULED_Current_Step_Heron, config.lightingSpeed) && ok;
    return ok || GaveUp("ReadLightState");
}

bool DeviceLibraryBinding::WriteLightState(const HeronConfig& config) {
    bool ok = Call(EntryPoint::Device_Set_Led_On_Off_Heron, int32_t{config.ledOn}) == 0;
    ok = Call(EntryPoint::Device_Set_MCULED_Control_Heron, int32_t{config.lightAll}) == 0 && ok;
    ok = Call(EntryPoint::Device_Set_MCULED_Current_Mode_Heron, int32_t{config.lightingMode}) == 0 && ok;
    ok = Call(EntryPoint::Device_Set_MCULED_Current_Step_Heron, int32_t{config.lightingSpeed}) == 0 && ok;
    return ok || GaveUp("WriteLightState");
}

bool DeviceLibraryBinding::ReadPressTypes(HeronConfig& config) {
    bool ok = ReadInto(*this, EntryPoint::Device_Get_MiddleKey_Press_Type_Heron, config.middlePress);
    ok = ReadInto(*this, EntryPoint::Device_Get_CPIKey_Press_Type_Heron, config.cpiPress) && ok;
    ok = ReadInto(*this, EntryPoint::Device_Get_GunKey_Press_Type_Heron, config.gunPress) && ok;
    return ok || GaveUp("ReadPressTypes");
}

bool DeviceLibraryBinding::WritePressTypes(const HeronConfig& config) {
    bool ok = Call(EntryPoint::Device_Set_MiddleKey_Press_Type_Heron, int32_t{config.middlePress}) == 0;
    ok = Call(EntryPoint::Device_Set_CPIKey_Press_Type_Heron, int32_t{config.cpiPress}) == 0 && ok;
    ok = Call(EntryPoint::Device_Set_GunKey_Press_Type_Heron, int32_t{config.gunPress}) == 0 && ok;
    return ok || GaveUp("WritePressTypes");
}

// The slot's first fire-macro byte is the vertical offset the fire-key panel keeps in xAdjust; the
// y-axis value goes to yAdjust. The entry is appended only when all four reads succeeded.
bool DeviceLibraryBinding::ReadFireMacro(HeronConfig& config, int slot) {
    // Slots keep their numbers whatever fails: a failed slot stays in place, marked unread.
    if (slot < 0 || slot >= HeronConfig::kMaxFireMacros) return false;
    const auto at = static_cast<size_t>(slot);
    if (config.fireMacros.size() <= at) config.fireMacros.resize(at + 1, FireMacroEntry::Unread());
    FireMacroEntry entry;
    uint8_t offset = 0, unused1 = 0, unused2 = 0;
    int32_t red = 0, green = 0, blue = 0, yAxis = 0;
    bool ok =
        Call(EntryPoint::Device_Get_Fire_Macro_Data_Heron, int32_t{slot}, &offset, &unused1, &unused2) == 0;
    ok = Call(EntryPoint::Device_Get_Fire_RGB_Heron, &red, &green, &blue, int32_t{slot}) == 0 && ok;
    ok = Call(EntryPoint::Device_Get_Fire_YAxis_Heron, int32_t{slot}, &yAxis) == 0 && ok;
    ok = Call(EntryPoint::Device_Get_Fire_Buffer_Heron, int32_t{slot}, AsBuffer(entry.data),
              int32_t{FireMacroEntry::kPatternSize}) == 0 &&
         ok;
    if (!ok) {
        config.fireMacros[at] = FireMacroEntry::Unread();
        return GaveUp("ReadFireMacro");
    }
    entry.xAdjust = static_cast<int8_t>(offset), entry.yAdjust = static_cast<int8_t>(yAxis);
    entry.red = red, entry.green = green, entry.blue = blue;
    config.fireMacros[at] = entry;
    return true;
}

bool DeviceLibraryBinding::WriteFireBuffer(const HeronConfig& config, int slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= config.fireMacros.size()) return false;
    const FireMacroEntry& e = config.fireMacros[static_cast<size_t>(slot)];
    if (!e.read) return false;  // never write back a slot the device did not deliver
    const bool rgb = Call(EntryPoint::Device_Set_Fire_RGB_Heron, int32_t{e.red}, int32_t{e.green},
                          int32_t{e.blue}, int32_t{slot}) == 0;
    const bool buffer = Call(EntryPoint::Device_Set_Fire_Buffer_Heron, int32_t{slot}, AsBuffer(e.data),
                             int32_t{FireMacroEntry::kPatternSize}) == 0;
    return (rgb && buffer) || GaveUp("WriteFireBuffer");
}

bool DeviceLibraryBinding::WriteLedStages(const HeronDriverConfig& config) {
    const auto& b = config.driverBlock;
    return Call(EntryPoint::Device_WriteLedCPIData_Heron_Driver, int32_t{b[0]}, int32_t{b[1]}, int32_t{b[2]},
                int32_t{b[3]}) == 0 ||
           GaveUp("WriteLedStages");
}
