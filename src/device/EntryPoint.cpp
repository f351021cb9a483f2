#include "device/EntryPoint.h"

namespace {

constexpr EntryPointInfo kEntryPoints[] = {
#define OAK_ENTRY_POINT(model, name) {DeviceModel::model, #name},
#include "device/EntryPoints.def"
#undef OAK_ENTRY_POINT
};
static_assert(std::size(kEntryPoints) == kEntryPointCount);
static_assert(kEntryPointCount == 255, "the six libraries have 255 entry points in all");

}  // namespace

const EntryPointInfo& InfoOf(EntryPoint entryPoint) {
    return kEntryPoints[static_cast<size_t>(entryPoint)];
}

std::span<const EntryPointInfo> AllEntryPoints() {
    return kEntryPoints;
}
