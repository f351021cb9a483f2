#include "assign/FireKeyEdit.h"

namespace assign {
namespace {

constexpr auto& kGunButtons = kFireGunButtons;
constexpr auto& kTenSlots = kTenFireSlots;
// Seven slots, one per gun.
constexpr GunSlots kSevenSlots{
    {{0, -1, -1}, {1, -1, -1}, {2, -1, -1}, {3, -1, -1}, {4, -1, -1}, {5, -1, -1}, {6, -1, -1}}};

// The Egret's variant 0 holds ten slots, its other variants seven; the Ibis always holds ten.
constexpr FireKeyEditSpec kSpecs[] = {
    {DeviceModel::Egret, "FireKeyEdit_Egret", "Egret", kGunButtons, kTenSlots, kSevenSlots},
    {DeviceModel::Ibis, "FireKeyEdit_Ibis", "Ibis", kGunButtons, kTenSlots, kTenSlots},
    // One segment per gun, its fields named without a number; its keep-left box also rewrites the
    // second profile's keys of the shown gun.
    {DeviceModel::Crane, "FireKeyEdit_Crane", "Crane", kGunButtons, kSevenSlots, kSevenSlots, false,
     "result_fire_count", 1},
};

}  // namespace

const FireKeyEditSpec* FindFireKeyEditSpec(DeviceModel model) {
    for (const auto& spec : kSpecs)
        if (spec.model == model) return &spec;
    return nullptr;
}

}  // namespace assign
