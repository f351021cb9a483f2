// Lumenor_Crane: the Crane mouse, with two profiles, the combo-key blocks 2 and 4 and the macro
// random time. The lighting rate carries a variant flag: 0 for the RGB lighting, 1 otherwise.
#include "libs/LibraryCommon.h"

namespace {
sim::SimDevice& Dev() {
    static sim::SimDevice device(sim::kCraneSpec);
    return device;
}

int ComboIndex(int32_t block) {
    return block == 2 ? 0 : block == 4 ? 1 : -1;
}
}  // namespace

#define OAK_MODEL Crane
#include "libs/FamilyE.inc"

OAK_API int32_t Device_Get_LED_Breath_Rate_Crane(int32_t* speed, int32_t* brightness, int32_t variantFlag) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer, [&](Image& m) {
        if (!speed || !brightness || (variantFlag != 0 && variantFlag != 1)) return sim::kBadArgument;
        *speed = m[FieldOf(FieldId::LightSpeed).offset];
        *brightness = m[FieldOf(FieldId::LightAll).offset];
        return sim::kOk;
    });
}

OAK_API int32_t Device_Set_LED_Breath_Rate_Crane(int32_t speed, int32_t brightness, int32_t variantFlag) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer | sim::kWrites, [&](Image& m) {
        if (speed < 0 || speed > 255 || brightness < 0 || brightness > 1 ||
            (variantFlag != 0 && variantFlag != 1))
            return sim::kBadArgument;
        m[FieldOf(FieldId::LightSpeed).offset] = static_cast<uint8_t>(speed);
        m[FieldOf(FieldId::LightAll).offset] = static_cast<uint8_t>(brightness);
        return sim::kOk;
    });
}

OAK_API int32_t ReadDeviceData_Crane() {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer, [](Image&) { return sim::kOk; });
}

OAK_API int32_t Devcie_Get_Combo_Key_Crane(int32_t block, uint8_t* b0, uint8_t* b1, uint8_t* b2,
                                           uint8_t* b3) {
    return Dev().GetBytes(__func__, FieldId::ComboBlock, ComboIndex(block), {b0, b1, b2, b3});
}

OAK_API int32_t Devcie_Set_Combo_Key_Crane(int32_t block, int32_t b0, int32_t b1, int32_t b2, int32_t b3) {
    return Dev().SetBytes(__func__, FieldId::ComboBlock, ComboIndex(block), {b0, b1, b2, b3});
}

OAK_API int32_t Devcie_Get_Device_Data_Crane(uint8_t* image, int32_t size) {
    return Dev().SaveImage(__func__, image, size);
}

OAK_SCALAR(Device_Get_Increased_Random_Time, Device_Set_Increased_Random_Time, RandomTime)

OAK_DEFINE_CONTROL_SURFACE()
