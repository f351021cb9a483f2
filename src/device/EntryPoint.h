#pragma once
// The 255 entry points of the six device libraries, listed once in EntryPoints.def. Each has a slot
// in the binding; the enum value is the slot index.
#include <cstddef>
#include <cstdint>
#include <span>

#include "records/DeviceModel.h"

enum class EntryPoint : uint16_t {
#define OAK_ENTRY_POINT(model, name) name,
#include "device/EntryPoints.def"
#undef OAK_ENTRY_POINT
    kCount
};

inline constexpr size_t kEntryPointCount = static_cast<size_t>(EntryPoint::kCount);

struct EntryPointInfo {
    DeviceModel model;
    const char* name;  // the exported symbol
};

const EntryPointInfo& InfoOf(EntryPoint entryPoint);
std::span<const EntryPointInfo> AllEntryPoints();  // in slot order
