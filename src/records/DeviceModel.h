#pragma once
// The six supported models, in the order the binding declares its library handles.
#include <cstdint>

enum class DeviceModel : uint8_t { Plover, Heron, Egret, Ibis, Crane, HeronDriver };

inline constexpr int kDeviceModelCount = 6;
