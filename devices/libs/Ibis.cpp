// Lumenor_Ibis: the Ibis mouse. Its lighting rate carries only the speed; the extent never reaches it.
#include "libs/LibraryCommon.h"

namespace {
sim::SimDevice& Dev() {
    static sim::SimDevice device(sim::kIbisSpec);
    return device;
}
}  // namespace

#define OAK_MODEL Ibis
#include "libs/FamilyE.inc"

OAK_SCALAR(Device_Get_LED_Breath_Rate_Ibis, Device_Set_LED_Breath_Rate_Ibis, LightSpeed)

OAK_API int32_t ReadDeviceData_Ibis() {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer, [](Image&) { return sim::kOk; });
}

OAK_DEFINE_CONTROL_SURFACE()
