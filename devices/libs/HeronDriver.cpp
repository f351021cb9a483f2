// Lumenor_Heron_Driver: the Heron mouse through its driver, with a 40960-byte memory. The driver
// answers to the Heron's own ids; opening also takes the four-byte device selector (the page's driver
// block), which the control surface reports back. Device_WriteLedCPIData_Heron_Driver stores that
// block in the staged copy.
#include <array>
#include <mutex>

#include "libs/LibraryCommon.h"

namespace {
sim::SimDevice& Dev() {
    static sim::SimDevice device(sim::kHeronDriverSpec);
    return device;
}
constexpr const sim::AddressedMacros& kMacros = sim::kHeronDriverMacros;
constexpr uint32_t kMacroWriteArea = 2016;

bool IsByte(int32_t v) {
    return v >= 0 && v <= 255;
}

// The selector of this process's last successful open; empty before one.
struct LastSelector {
    std::mutex mutex;
    bool known = false;
    std::array<int32_t, 4> bytes{};
};
LastSelector& Selector() {
    static LastSelector selector;
    return selector;
}
}  // namespace

#define OAK_MODEL Heron_Driver
#include "libs/FamilyH.inc"

OAK_API int32_t InitMCUDevice_Heron_Driver(int32_t vid, int32_t pid, int32_t s0, int32_t s1, int32_t s2,
                                           int32_t s3) {
    if (!IsByte(s0) || !IsByte(s1) || !IsByte(s2) || !IsByte(s3)) {
        return Dev().Run(__func__, sim::kNeedAttached, [](Image&) { return sim::kBadArgument; });
    }
    const int32_t status = Dev().Open(__func__, vid, pid);
    if (status == sim::kOk) {
        std::lock_guard lock(Selector().mutex);
        Selector().known = true;
        Selector().bytes = {s0, s1, s2, s3};
    }
    return status;
}

OAK_API int32_t Device_WriteLedCPIData_Heron_Driver(int32_t b0, int32_t b1, int32_t b2, int32_t b3) {
    return Dev().SetBytes(__func__, FieldId::DriverBlock, 0, {b0, b1, b2, b3});
}

OAK_SCALAR(Device_Get_Led_LCPI_Heron_Driver, Device_Set_Led_LCPI_Heron_Driver, LedLcpi)
OAK_SCALAR(Device_Get_Led_B4CPI_Heron_Driver, Device_Set_Led_B4CPI_Heron_Driver, LedB4Cpi)

OAK_DEFINE_CONTROL_SURFACE()

// Copies the selector bytes of this process's last successful open into `out` (four values); -1
// before any open succeeded.
OAK_API int32_t OakSim_LastOpenSelector(int32_t* out) {
    std::lock_guard lock(Selector().mutex);
    if (!out || !Selector().known) return -1;
    for (size_t i = 0; i < 4; ++i) out[i] = Selector().bytes[i];
    return 0;
}
