#include "assign/KeyEdit_Egret.h"

#include "device/DeviceLibraryBinding.h"
#include "ui/controls/Combo.h"

namespace assign {

const KeyEditSpec KeyEdit_Egret::kSpec{
    DeviceModel::Egret, "Egret", 0x100710FFu, {0x10, 0x07, 0x10}, 1, {0, 1, 2, 3, 4, 5, 7}, true,
};

KeyEdit_Egret::KeyEdit_Egret(ui::WindowImplBase* owner, EgretConfig& config, const KeySlot& slot)
    : KeyEdit(owner, kSpec, config, slot, std::make_unique<RecordKeyEditDevice<EgretConfig>>(config)),
      egret_(config) {}

namespace {

constexpr int kEffects = 32;

}  // namespace

void KeyEdit_Egret::InitModelCategories() {
    // The effects are named by the page's lighting editor; without it they are numbered.
    const std::string first = Name("result_led_switch") + "_1";
    ui::Combo* names = Owner() ? Owner()->Find<ui::Combo>(first) : nullptr;
    if (!names || names->GetCount() == 0) {
        names = Find<ui::Combo>(first);
        if (names && names->GetCount() == 0)
            for (int e = 1; e <= kEffects; ++e) names->AddItem("%{466} " + std::to_string(e));
    }
    // The effect block exists only on the variants with the UART lighting.
    const bool block = egret_.deviceKind != 0;
    for (int k = 1; k <= kEffectCombos; ++k) {
        auto* combo = Find<ui::Combo>(Name("result_led_switch") + "_" + std::to_string(k));
        if (!combo) continue;
        if (names && combo != names) combo->CopyItemsFrom(*names);
        combo->SelectItem(egret_.ledEffectBlock[static_cast<size_t>(k - 1)], ui::Notify::No);
        combo->SetEnabled(block);
    }
}

void KeyEdit_Egret::ApplyModelCategories(Category chosen) {
    if (chosen != Category::Led || egret_.deviceKind == 0) return;
    for (int k = 1; k <= kEffectCombos; ++k) {
        auto* combo = Find<ui::Combo>(Name("result_led_switch") + "_" + std::to_string(k));
        if (combo && combo->GetCurSel() >= 0)
            egret_.ledEffectBlock[static_cast<size_t>(k - 1)] = static_cast<uint8_t>(combo->GetCurSel());
    }
    DeviceLibraryBinding::Instance().Call(EntryPoint::Devcie_Set_Led_Mode_Data_Egret,
                                          egret_.ledEffectBlock.data());
}

}  // namespace assign
