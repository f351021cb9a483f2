#pragma once
// Macro names cross the device boundary as UTF-16 with the two bytes of every character swapped
// (high byte first).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The first bytes/2 characters of `name`, high byte first, zero-filled to `bytes`.
std::vector<uint8_t> EncodeDeviceName(std::u16string_view name, size_t bytes);

// Characters from `bytes` bytes of device form, up to the first zero character.
std::u16string DecodeDeviceName(const uint8_t* data, size_t bytes);
