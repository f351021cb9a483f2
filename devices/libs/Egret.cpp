// Lumenor_Egret: the Egret mouse. Variant 0 has three profiles and ten fire macros; other variants
// have two profiles, seven fire macros and the UART LED strip with its effect block.
#include "libs/LibraryCommon.h"

namespace {
sim::SimDevice& Dev() {
    static sim::SimDevice device(sim::kEgretSpec);
    return device;
}
}  // namespace

#define OAK_MODEL Egret
#include "libs/FamilyE.inc"

OAK_API int32_t Device_Get_LED_Breath_Rate_Egret(int32_t* speed, int32_t* brightness) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer, [&](Image& m) {
        if (!speed || !brightness) return sim::kBadArgument;
        *speed = m[FieldOf(FieldId::LightSpeed).offset];
        *brightness = m[FieldOf(FieldId::LightAll).offset];
        return sim::kOk;
    });
}

OAK_API int32_t Device_Set_LED_Breath_Rate_Egret(int32_t speed, int32_t brightness) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer | sim::kWrites, [&](Image& m) {
        if (speed < 0 || speed > 255 || brightness < 0 || brightness > 1) return sim::kBadArgument;
        m[FieldOf(FieldId::LightSpeed).offset] = static_cast<uint8_t>(speed);
        m[FieldOf(FieldId::LightAll).offset] = static_cast<uint8_t>(brightness);
        return sim::kOk;
    });
}

OAK_API int32_t ReadDeviceData_Egret(int32_t* deviceKind) {
    return Dev().Variant(__func__, deviceKind);
}

// The UART strip exists only on the nonzero variants.
OAK_API int32_t Devcie_Get_Uart_Led_Data_Egret(int32_t index, uint8_t* b1, uint8_t* b2, uint8_t* b3) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer, [&](Image& m) {
        const sim::Field& f = FieldOf(FieldId::UartLed);
        if (Dev().VariantLocked() == 0 || index < 0 || index >= f.count || !b1 || !b2 || !b3)
            return sim::kBadArgument;
        const uint32_t at = f.ElementOffset(index);
        *b1 = m[at], *b2 = m[at + 1], *b3 = m[at + 2];
        return sim::kOk;
    });
}

OAK_API int32_t Devcie_Set_Uart_Led_Data_Egret(int32_t index, int32_t b1, int32_t b2, int32_t b3) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer | sim::kWrites, [&](Image& m) {
        const sim::Field& f = FieldOf(FieldId::UartLed);
        auto byte = [](int32_t v) { return v >= 0 && v <= 255; };
        if (Dev().VariantLocked() == 0 || index < 0 || index >= f.count || !byte(b1) || !byte(b2) ||
            !byte(b3))
            return sim::kBadArgument;
        const uint32_t at = f.ElementOffset(index);
        m[at] = static_cast<uint8_t>(b1), m[at + 1] = static_cast<uint8_t>(b2),
        m[at + 2] = static_cast<uint8_t>(b3);
        return sim::kOk;
    });
}

OAK_API int32_t Devcie_Get_Led_Mode_Data_Egret(uint8_t* block) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer, [&](Image& m) {
        if (Dev().VariantLocked() == 0 || !block) return sim::kBadArgument;
        std::memcpy(block, m.data() + FieldOf(FieldId::LedEffectBlock).offset, 8);
        return sim::kOk;
    });
}

OAK_API int32_t Devcie_Set_Led_Mode_Data_Egret(const uint8_t* block) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer | sim::kWrites, [&](Image& m) {
        if (Dev().VariantLocked() == 0 || !block) return sim::kBadArgument;
        std::memcpy(m.data() + FieldOf(FieldId::LedEffectBlock).offset, block, 8);
        return sim::kOk;
    });
}

OAK_DEFINE_CONTROL_SURFACE()
