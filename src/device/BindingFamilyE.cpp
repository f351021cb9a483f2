// Grouped operations of the Egret, Ibis and Crane libraries. The three share entry-point shapes;
// a table per model names the slots, so one implementation serves all three.
#include <algorithm>
#include <array>

#include "device/DeviceLibraryBinding.h"
#include "device/DeviceName.h"

namespace {

struct FamilyESlots {
    EntryPoint getKeyMode, setKeyMode, getReportRate, setReportRate, getRate, setRate, getMode, setMode;
    EntryPoint getGear, setGear, getNumber, setNumber, getValue, setValue, getColor, setColor;
    EntryPoint getMacroKey, setMacroKey, getFireKey, setFireKey, getFireMacro, setFireMacro, getMacro,
        setMacro;
};

#define OAK_FAMILY_E_SLOTS(M)                                                                         \
    FamilyESlots {                                                                                    \
        EntryPoint::Devcie_Get_Key_Mode_##M, EntryPoint::Devcie_Set_Key_Mode_##M,                     \
            EntryPoint::Devcie_Get_Report_Rate_##M, EntryPoint::Devcie_Set_Report_Rate_##M,           \
            EntryPoint::Device_Get_LED_Breath_Rate_##M, EntryPoint::Device_Set_LED_Breath_Rate_##M,   \
            EntryPoint::Device_Get_LED_Breath_Mode_##M, EntryPoint::Device_Set_LED_Breath_Mode_##M,   \
            EntryPoint::Device_Get_Current_CPI_Gear_##M, EntryPoint::Device_Set_Current_CPI_Gear_##M, \
            EntryPoint::Device_Get_Number_CPI_##M, EntryPoint::Device_Set_Number_CPI_##M,             \
            EntryPoint::Device_Get_CPI_Value_##M, EntryPoint::Device_Set_CPI_Value_##M,               \
            EntryPoint::Device_Get_CPI_Color_##M, EntryPoint::Device_Set_CPI_Color_##M,               \
            EntryPoint::Devcie_Get_Macro_Key_##M, EntryPoint::Devcie_Set_Macro_Key_##M,               \
            EntryPoint::Device_Get_Fire_Key_Data_##M, EntryPoint::Device_Set_Fire_Key_Data_##M,       \
            EntryPoint::Device_Get_Fire_Macro_Data_##M, EntryPoint::Device_Set_Fire_Macro_Data_##M,   \
            EntryPoint::Device_Get_Macro_Data_##M, EntryPoint::Device_Set_Macro_Data_##M              \
    }

const FamilyESlots kEgretSlots = OAK_FAMILY_E_SLOTS(Egret);
const FamilyESlots kIbisSlots = OAK_FAMILY_E_SLOTS(Ibis);
const FamilyESlots kCraneSlots = OAK_FAMILY_E_SLOTS(Crane);

// The family's entry points by model, in DeviceModel order; other models have none.
const FamilyESlots* SlotsOf(DeviceModel model) {
    static constexpr std::array<const FamilyESlots*, kDeviceModelCount> kByModel = {
        nullptr, nullptr, &kEgretSlots, &kIbisSlots, &kCraneSlots, nullptr};
    const auto index = static_cast<size_t>(model);
    return index < kByModel.size() ? kByModel[index] : nullptr;
}

constexpr int kMacroNameBytes = 16;  // eight characters on a write
constexpr int kMacroNameRead = 34;   // the read swaps the first 18 bytes
constexpr int kMacroNameSwapped = 18;
constexpr int kMacroEvents = 224;
constexpr int kMaxDeviceMacros = 256;  // a library that never says "no more" cannot loop us forever

int32_t ByteArgument(int8_t value) {
    return int32_t{static_cast<uint8_t>(value)};
}

}  // namespace

bool DeviceLibraryBinding::ReadProfileIndexE(DeviceModel model, FamilyEConfig& c) {
    int32_t profile = 0;
    if (Call(SlotsOf(model)->getKeyMode, &profile) != 0) return GaveUp("ReadProfileIndex");
    c.currentProfile = profile;
    return true;
}

bool DeviceLibraryBinding::WriteProfileIndexE(DeviceModel model, const FamilyEConfig& c) {
    return Call(SlotsOf(model)->setKeyMode, int32_t{c.currentProfile}) == 0 || GaveUp("WriteProfileIndex");
}

bool DeviceLibraryBinding::ReadReportRateE(DeviceModel model, FamilyEConfig& c) {
    int32_t rate = 0;
    if (Call(SlotsOf(model)->getReportRate, &rate) != 0) return GaveUp("ReadReportRate");
    c.reportRate = rate;
    return true;
}

bool DeviceLibraryBinding::WriteReportRateE(DeviceModel model, const FamilyEConfig& c) {
    return Call(SlotsOf(model)->setReportRate, int32_t{c.reportRate}) == 0 || GaveUp("WriteReportRate");
}

bool DeviceLibraryBinding::ReadStagesE(DeviceModel model, FamilyEConfig& c) {
    const FamilyESlots& s = *SlotsOf(model);
    bool ok = true;
    int32_t value = 0;
    if (Call(s.getGear, &value) == 0)
        c.currentStage = value;
    else
        ok = false;
    if (Call(s.getNumber, &value) == 0)
        c.stageCount = value;
    else
        ok = false;
    c.stages.clear();
    for (int32_t i = 0; i < FamilyEConfig::kStageSlots; ++i) {
        DpiStage stage;
        int32_t level = 0;
        uint8_t red = 0, green = 0, blue = 0;
        if (Call(s.getValue, i, &level) != 0 || Call(s.getColor, i, &red, &green, &blue) != 0)
            return GaveUp("ReadStages");
        stage.level = level, stage.red = red, stage.green = green, stage.blue = blue;
        c.stages.push_back(stage);
    }
    return ok || GaveUp("ReadStages");
}

bool DeviceLibraryBinding::WriteStagesE(DeviceModel model, const FamilyEConfig& c) {
    const FamilyESlots& s = *SlotsOf(model);
    if (Call(s.setGear, int32_t{c.currentStage}) != 0 || Call(s.setNumber, int32_t{c.stageCount}) != 0)
        return GaveUp("WriteStages");
    for (int32_t i = 0; i < FamilyEConfig::kStageSlots; ++i) {
        if (static_cast<size_t>(i) >= c.stages.size()) return false;  // a short list cannot be sent whole
        const DpiStage& stage = c.stages[static_cast<size_t>(i)];
        if (Call(s.setValue, i, int32_t{stage.level}) != 0) return GaveUp("WriteStages");
        if (Call(s.setColor, i, int32_t{stage.red}, int32_t{stage.green}, int32_t{stage.blue}) != 0)
            return GaveUp("WriteStages");
    }
    return true;
}

bool DeviceLibraryBinding::ReadMacroKeysE(DeviceModel model, FamilyEConfig& c, int profile, int count) {
    if (profile < 0 || static_cast<size_t>(profile) >= c.keyLists.size()) return false;
    std::vector<KeySlot>& keys = c.keyLists[static_cast<size_t>(profile)];
    keys.clear();
    for (int32_t k = 1; k <= count; ++k) {
        KeySlot slot;
        if (Call(SlotsOf(model)->getMacroKey, int32_t{profile + 1}, k, &slot.code[0], &slot.code[1],
                 &slot.code[2], &slot.code[3]) != 0)
            return GaveUp("ReadMacroKeys");
        slot.keyIndex = k - 1;
        keys.push_back(slot);
    }
    return true;
}

bool DeviceLibraryBinding::WriteMacroKeyE(DeviceModel model, const FamilyEConfig& c, int profile, int key) {
    if (profile < 0 || static_cast<size_t>(profile) >= c.keyLists.size()) return false;
    const std::vector<KeySlot>& keys = c.keyLists[static_cast<size_t>(profile)];
    if (key < 0 || static_cast<size_t>(key) >= keys.size()) return false;
    const KeySlot& slot = keys[static_cast<size_t>(key)];
    return Call(SlotsOf(model)->setMacroKey, int32_t{profile + 1}, int32_t{key + 1}, int32_t{slot.code[0]},
                int32_t{slot.code[1]}, int32_t{slot.code[2]}, int32_t{slot.code[3]}) == 0 ||
           GaveUp("WriteMacroKey");
}

bool DeviceLibraryBinding::ReadFireSlotsE(DeviceModel model, FamilyEConfig& c) {
    for (int32_t slot = 0; slot < static_cast<int32_t>(c.rapidFire.size()); ++slot) {
        int32_t count = 0, interval = 0;
        if (Call(SlotsOf(model)->getFireKey, slot, &count, &interval) != 0) return GaveUp("ReadFireSlots");
        c.rapidFire[static_cast<size_t>(slot)].count = count;
        c.rapidFire[static_cast<size_t>(slot)].interval = interval;
    }
    return true;
}

bool DeviceLibraryBinding::WriteFireSlotE(DeviceModel model, const FamilyEConfig& c, int slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= c.rapidFire.size()) return false;
    const RapidFireSlot& fire = c.rapidFire[static_cast<size_t>(slot)];
    return Call(SlotsOf(model)->setFireKey, int32_t{slot}, int32_t{fire.count}, int32_t{fire.interval}) ==
               0 ||
           GaveUp("WriteFireSlot");
}

// The list is indexed by slot: a failed read leaves an unread entry in its place rather than letting
// the next slot slide into it.
bool DeviceLibraryBinding::ReadFireMacroE(DeviceModel model, FamilyEConfig& c, int index) {
    if (index < 0 || index >= FamilyEConfig::kMaxFireMacros) return false;
    const auto at = static_cast<size_t>(index);
    if (c.fireMacros.size() <= at) c.fireMacros.resize(at + 1, FireMacroEntry::Unread());
    FireMacroEntry entry;
    uint8_t x = 0, y = 0;
    int32_t red = 0, green = 0, blue = 0;
    const bool ok = Call(SlotsOf(model)->getFireMacro, int32_t{index}, AsBuffer(entry.data), &x, &y, &red,
                         &green, &blue) == 0;
    if (!ok) {
        c.fireMacros[at] = FireMacroEntry::Unread();
        return GaveUp("ReadFireMacro");
    }
    entry.xAdjust = static_cast<int8_t>(x), entry.yAdjust = static_cast<int8_t>(y);
    entry.red = red, entry.green = green, entry.blue = blue;
    c.fireMacros[at] = entry;
    return true;
}

bool DeviceLibraryBinding::WriteFireMacroE(DeviceModel model, const FamilyEConfig& c, int index) {
    if (index < 0 || static_cast<size_t>(index) >= c.fireMacros.size()) return false;
    const FireMacroEntry& e = c.fireMacros[static_cast<size_t>(index)];
    // The adjustments are signed offsets stored in a byte; they travel as that byte, 0 to 255.
    return Call(SlotsOf(model)->setFireMacro, int32_t{index}, AsBuffer(e.data), ByteArgument(e.xAdjust),
                ByteArgument(e.yAdjust), int32_t{e.red}, int32_t{e.green}, int32_t{e.blue}) == 0 ||
           GaveUp("WriteFireMacro");
}

bool DeviceLibraryBinding::ReadMacrosE(DeviceModel model, FamilyEConfig& c) {
    c.macros.Clear();
    for (int32_t index = 0; index < kMaxDeviceMacros; ++index) {
        uint8_t name[kMacroNameRead] = {};
        uint8_t events[kMacroEvents] = {};
        int32_t attribute = 0, length = 0;
        // The first index past the last macro fails: the normal end of the list.
        if (Call(SlotsOf(model)->getMacro, index, AsBuffer(name), AsBuffer(events), &attribute, &length) != 0)
            break;
        // A length the event buffer cannot hold means the library broke the contract: nothing it
        // handed out can be trusted, so the list ends here as at a failing call.
        if (length < 0 || length > kMacroEvents) break;
        MacroEntry entry;
        entry.name = DecodeDeviceName(name, kMacroNameSwapped);
        entry.data.assign(events, events + length);
        entry.id = attribute;
        c.macros.Add(std::move(entry));
    }
    return true;
}

bool DeviceLibraryBinding::WriteMacro(DeviceModel model, int index, std::u16string_view name,
                                      std::span<const uint8_t> events, int length) {
    const FamilyESlots* slots = SlotsOf(model);
    if (!slots) return false;
    std::vector<uint8_t> nameBytes = EncodeDeviceName(name, kMacroNameBytes);
    // The library takes a 224-byte event buffer; a longer macro is refused, never cut short.
    if (length < 0 || length > std::min(kMacroEvents, static_cast<int>(events.size()))) return false;
    uint8_t buffer[kMacroEvents] = {};
    std::copy_n(events.begin(), length, buffer);
    return Call(slots->setMacro, int32_t{index}, AsBuffer(nameBytes), AsBuffer(buffer), int32_t{length}) ==
               0 ||
           GaveUp("WriteMacro");
}

// Egret: a failed read stores 0 and the operation still succeeds; the nonzero variants also
// rebuild the 32 UART LED entries, black where a read fails.
bool DeviceLibraryBinding::ReadLighting(EgretConfig& config) {
    int32_t speed = 0, extent = 0, mode = 0;
    if (Call(EntryPoint::Device_Get_LED_Breath_Rate_Egret, &speed, &extent) != 0) speed = extent = 0;
    if (Call(EntryPoint::Device_Get_LED_Breath_Mode_Egret, &mode) != 0) mode = 0;
    config.lightingSpeed = speed, config.lightAll = extent, config.lightingMode = mode;
    if (config.deviceKind != 0) {
        config.uartLeds.clear();
        for (int32_t i = 0; i < EgretConfig::kUartLedCount; ++i) {
            UartLedEntry led;
            if (Call(EntryPoint::Devcie_Get_Uart_Led_Data_Egret, i, &led.byte1, &led.byte2, &led.byte3) != 0)
                led.byte1 = led.byte2 = led.byte3 = 0;
            config.uartLeds.push_back(led);
        }
    }
    return true;
}

// Ibis: only the speed travels. Both calls are made; a failed one keeps its values.
bool DeviceLibraryBinding::ReadLighting(IbisConfig& config) {
    int32_t speed = 0, mode = 0;
    const bool rate = Call(EntryPoint::Device_Get_LED_Breath_Rate_Ibis, &speed) == 0;
    if (rate) config.lightingSpeed = speed;
    const bool modeRead = Call(EntryPoint::Device_Get_LED_Breath_Mode_Ibis, &mode) == 0;
    if (modeRead) config.lightingMode = mode;
    return (rate && modeRead) || GaveUp("ReadLighting");
}

namespace {
int32_t CraneVariantFlag(const CraneConfig& config) {
    return config.lightingVariant == "RGB" ? 0 : 1;
}
}  // namespace

bool DeviceLibraryBinding::ReadLighting(CraneConfig& config) {
    int32_t speed = 0, extent = 0, mode = 0;
    const bool rate =
        Call(EntryPoint::Device_Get_LED_Breath_Rate_Crane, &speed, &extent, CraneVariantFlag(config)) == 0;
    if (rate) config.lightingSpeed = speed, config.lightAll = extent;
    const bool modeRead = Call(EntryPoint::Device_Get_LED_Breath_Mode_Crane, &mode) == 0;
    if (modeRead) config.lightingMode = mode;
    return (rate && modeRead) || GaveUp("ReadLighting");
}

bool DeviceLibraryBinding::WriteLighting(const EgretConfig& config) {
    const bool rate = Call(EntryPoint::Device_Set_LED_Breath_Rate_Egret, int32_t{config.lightingSpeed},
                           int32_t{config.lightAll}) == 0;
    const bool mode = Call(EntryPoint::Device_Set_LED_Breath_Mode_Egret, int32_t{config.lightingMode}) == 0;
    return (rate && mode) || GaveUp("WriteLighting");
}

bool DeviceLibraryBinding::WriteLighting(const IbisConfig& config) {
    const bool rate = Call(EntryPoint::Device_Set_LED_Breath_Rate_Ibis, int32_t{config.lightingSpeed}) == 0;
    const bool mode = Call(EntryPoint::Device_Set_LED_Breath_Mode_Ibis, int32_t{config.lightingMode}) == 0;
    return (rate && mode) || GaveUp("WriteLighting");
}

bool DeviceLibraryBinding::WriteLighting(const CraneConfig& config) {
    const bool rate = Call(EntryPoint::Device_Set_LED_Breath_Rate_Crane, int32_t{config.lightingSpeed},
                           int32_t{config.lightAll}, CraneVariantFlag(config)) == 0;
    const bool mode = Call(EntryPoint::Device_Set_LED_Breath_Mode_Crane, int32_t{config.lightingMode}) == 0;
    return (rate && mode) || GaveUp("WriteLighting");
}

bool DeviceLibraryBinding::WriteUartLed(const EgretConfig& config, int index) {
    if (index < 0 || static_cast<size_t>(index) >= config.uartLeds.size()) return false;
    const UartLedEntry& led = config.uartLeds[static_cast<size_t>(index)];
    return Call(EntryPoint::Devcie_Set_Uart_Led_Data_Egret, int32_t{index}, int32_t{led.byte1},
                int32_t{led.byte2}, int32_t{led.byte3}) == 0 ||
           GaveUp("WriteUartLed");
}

bool DeviceLibraryBinding::ReadComboKeys(CraneConfig& config) {
    std::array<uint8_t, 4> a{}, b{};
    bool ok = true;
    if (Call(EntryPoint::Devcie_Get_Combo_Key_Crane, int32_t{2}, &a[0], &a[1], &a[2], &a[3]) == 0)
        config.comboBlockA = a;
    else
        ok = false;
    if (Call(EntryPoint::Devcie_Get_Combo_Key_Crane, int32_t{4}, &b[0], &b[1], &b[2], &b[3]) == 0)
        config.comboBlockB = b;
    else
        ok = false;
    return ok || GaveUp("ReadComboKeys");
}

bool DeviceLibraryBinding::WriteComboKeys(const CraneConfig& config) {
    const auto& a = config.comboBlockA;
    const auto& b = config.comboBlockB;
    const bool first = Call(EntryPoint::Devcie_Set_Combo_Key_Crane, int32_t{2}, int32_t{a[0]}, int32_t{a[1]},
                            int32_t{a[2]}, int32_t{a[3]}) == 0;
    const bool second = Call(EntryPoint::Devcie_Set_Combo_Key_Crane, int32_t{4}, int32_t{b[0]}, int32_t{b[1]},
                             int32_t{b[2]}, int32_t{b[3]}) == 0;
    return (first && second) || GaveUp("WriteComboKeys");
}
