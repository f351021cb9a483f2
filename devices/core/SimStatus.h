#pragma once
// Status results of the simulated entry points. 0 is success; the callers only test for non-zero,
// except that the keyboard's macro write answers -1 past its last slot.
#include <cstdint>

namespace sim {

inline constexpr int32_t kOk = 0;
inline constexpr int32_t kNotFound = 1;     // not attached, or no device with these ids
inline constexpr int32_t kNotOpen = 2;      // call before a successful open
inline constexpr int32_t kBadArgument = 3;  // index out of range, null pointer, value too wide
inline constexpr int32_t kNoData = 4;       // nothing stored at this index
inline constexpr int32_t kNoRoom = 5;       // macro memory full
inline constexpr int32_t kBadImage = 6;     // configuration image of another model or damaged
inline constexpr int32_t kStorage = 7;      // the device state could not be stored
inline constexpr int32_t kEndOfSlots = -1;

}  // namespace sim
