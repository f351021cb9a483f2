#include "assign/FamilyETraits.h"

namespace assign {
namespace {

constexpr FamilyETraits kTraits[] = {
    {.model = DeviceModel::Egret,
     .presetRule = FirePresetRule::TakeInterval,
     .continuousRule = ContinuousRule::HighNibbleNotOne,
     .gunLabels = {"%{100}", "%{101}", "%{102}", "%{103}", "%{104}", "%{105}", nullptr, "%{106}"},
     .customGunByte1 = 0,
     .customGunLabel = nullptr,
     .reservedMacros = {{{7, 0x10}}},
     .reservedMacroCount = 1},
    {.model = DeviceModel::Ibis,
     .presetRule = FirePresetRule::TakeInterval,
     .continuousRule = ContinuousRule::Bit7,
     .gunLabels = {"%{100}", "%{101}", "%{102}", "%{103}", "%{104}", "%{105}", nullptr, "%{106}"},
     .customGunByte1 = 0,
     .customGunLabel = nullptr,
     .reservedMacros = {{{6, 0xA0}}},
     .reservedMacroCount = 1},
    {.model = DeviceModel::Crane,
     .presetRule = FirePresetRule::MatchInterval,
     .continuousRule = ContinuousRule::HighNibbleNotOne,
     .gunLabels = {"%{100}", "%{101}", "%{102}", "%{103}", "%{104}", "%{105}", "%{106}", nullptr},
     .customGunByte1 = 0x8F,
     .customGunLabel = "%{131}",
     .reservedMacros = {{{1, std::nullopt}, {0x30, std::nullopt}}},
     .reservedMacroCount = 2},
};

}  // namespace

const FamilyETraits* FamilyETraitsOf(DeviceModel model) {
    for (const FamilyETraits& traits : kTraits)
        if (traits.model == model) return &traits;
    return nullptr;
}

}  // namespace assign
