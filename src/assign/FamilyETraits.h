#pragma once
// What sets the Egret, Ibis and Crane apart when their four-byte assignment codes are labelled. One
// row per model; the labelling code reads only these rows, never the model itself.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "records/DeviceModel.h"

namespace assign {

// How a fire-key code finds its rapid-fire preset.
enum class FirePresetRule : uint8_t {
    TakeInterval,   // a preset with the code's shot count takes the code's interval; a zero interval looks on
    MatchInterval,  // a preset passes only when shot count and interval both equal the code's
};

// Where a fire-key code keeps its continuous flag.
enum class ContinuousRule : uint8_t {
    HighNibbleNotOne,  // continuous unless the high nibble of byte 1 is 1
    Bit7,              // bit 7 of byte 1
};

// A macro code the device keeps for a built-in function; labelled as such, never looked up.
struct ReservedMacroCode {
    uint8_t byte1 = 0;
    std::optional<uint8_t> byte2;  // none: any byte 2
};

struct FamilyETraits {
    DeviceModel model;
    FirePresetRule presetRule;
    ContinuousRule continuousRule;
    // Label of each gun code (bits 0 to 2 of a fire-macro code's byte 1); null: no label.
    std::array<const char*, 8> gunLabels;
    // Byte 1 of the model's custom-gun fire macro and its label; 0 and null when it has none.
    uint8_t customGunByte1;
    const char* customGunLabel;
    std::array<ReservedMacroCode, 2> reservedMacros;
    std::size_t reservedMacroCount;

    std::span<const ReservedMacroCode> ReservedMacros() const {
        return {reservedMacros.data(), reservedMacroCount};
    }
};

// The row of `model`; null for models outside family E.
const FamilyETraits* FamilyETraitsOf(DeviceModel model);

}  // namespace assign
