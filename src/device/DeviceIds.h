#pragma once
// Vendor and product ids of the models. The Heron, Heron-driver and keyboard pages open their
// devices with these constants; the Egret, Ibis and Crane ids normally come from the main skin and
// default to these values. The driver reaches the Heron mouse itself, so it opens with the Heron's ids.
#include <cstdint>

inline constexpr uint16_t kLumenorVid = 0x2F8A;
inline constexpr uint16_t kPloverPid = 0x0101;
inline constexpr uint16_t kHeronPid = 0x0201;
inline constexpr uint16_t kEgretPid = 0x0301;
inline constexpr uint16_t kIbisPid = 0x0302;
inline constexpr uint16_t kCranePid = 0x0303;
