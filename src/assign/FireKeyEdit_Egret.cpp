#include "assign/FireKeyEdit_Egret.h"

#include "device/DeviceLibraryBinding.h"

namespace assign {
namespace {

constexpr GunSlots kTenSlots{
    {{0, -1, -1}, {1, -1, -1}, {2, -1, -1}, {3, -1, -1}, {4, -1, -1}, {5, 6, -1}, {7, 8, 9}}};
constexpr GunSlots kSevenSlots{
    {{0, -1, -1}, {1, -1, -1}, {2, -1, -1}, {3, -1, -1}, {4, -1, -1}, {5, -1, -1}, {6, -1, -1}}};

}  // namespace

const FireKeyEditSpec FireKeyEdit_Egret::kSpec{
    DeviceModel::Egret,
    "Egret",
    {"gun_AKM", "gun_M16", "gun_M4", "gun_UMP9", "gun_SCAR-L", "gun_556mm_Fire", "gun_762mm_Fire"},
};

FireKeyEdit_Egret::FireKeyEdit_Egret(EgretConfig& config, ColourChooser chooser)
    : FireKeyEdit(kSpec, config, std::move(chooser)), egret_(config) {}

const GunSlots& FireKeyEdit_Egret::Slots() const {
    return egret_.deviceKind == 0 ? kTenSlots : kSevenSlots;
}

bool FireKeyEdit_Egret::WriteSlot(int slot) {
    return DeviceLibraryBinding::Instance().WriteFireMacro(egret_, slot);
}

}  // namespace assign
