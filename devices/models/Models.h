#pragma once
// The six simulated models: their specs and the memory regions their entry points need directly.
#include "core/MacroMemory.h"
#include "core/ModelSpec.h"

namespace sim {

extern const ModelSpec kEgretSpec;
extern const ModelSpec kIbisSpec;
extern const ModelSpec kCraneSpec;
extern const ModelSpec kHeronSpec;
extern const ModelSpec kHeronDriverSpec;
extern const ModelSpec kPloverSpec;

inline constexpr PackedMacros kFamilyEMacros{1024, 2048};
inline constexpr AddressedMacros kHeronMacros{256, 1536, 33, 1, 256};
inline constexpr AddressedMacros kHeronDriverMacros{256, 40704, 32, 2, 2016};
inline constexpr uint32_t kHeronFireRegion = 1536;  // ten 32-byte fire slots, sent by WriteFireData
inline constexpr uint32_t kHeronFireRegionSize = 320;
inline constexpr int kPloverMacroSlots = 6;

}  // namespace sim
