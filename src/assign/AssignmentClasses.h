#pragma once
// The class byte (byte 0) of an assignment code, for the classes the code itself tests for.
#include <cstdint>

namespace assign {

inline constexpr uint8_t kMouseButton = 1;
inline constexpr uint8_t kKeyboardKey = 2;
inline constexpr uint8_t kConsumer = 3;
inline constexpr uint8_t kFireKeyE = 6;     // Egret, Ibis, Crane
inline constexpr uint8_t kFireMacroE = 11;  // Egret, Ibis, Crane
inline constexpr uint8_t kMacroE = 16;      // Egret, Ibis, Crane
inline constexpr uint8_t kMacroH = 6;       // Heron, Heron driver
inline constexpr uint8_t kMacroAltH = 14;   // Heron, Heron driver

}  // namespace assign
