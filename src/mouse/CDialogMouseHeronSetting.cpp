#include "mouse/CDialogMouseHeronSetting.h"

#include "assign/KeyEdit_Heron.h"
#include "device/DeviceLibraryBinding.h"

namespace mouse {

CDialogMouseHeronSetting::CDialogMouseHeronSetting(ui::WindowImplBase& owner)
    : FamilyHPage(owner), lighting_(Names(), LightingEditor::HeronModes()) {}

void CDialogMouseHeronSetting::ReadAfterKeys(HeronConfig& c) {
    auto& binding = DeviceLibraryBinding::Instance();
    c.fireMacros.clear();
    for (int slot = 0; slot < HeronConfig::kMaxFireMacros; ++slot) binding.ReadFireMacro(c, slot);
}

void CDialogMouseHeronSetting::ReadAfterStages(HeronConfig& c) {
    auto& binding = DeviceLibraryBinding::Instance();
    binding.ReadLightState(c);
    binding.ReadPressTypes(c);
}

LightingFields CDialogMouseHeronSetting::Lighting() {
    auto& c = Config();
    return {c.lightingMode, c.lightAll, c.lightingSpeed, &c.ledOn};
}

void CDialogMouseHeronSetting::ShowLighting() {
    lighting_.Show(Manager(), Lighting());
}

bool CDialogMouseHeronSetting::HandleLighting(ui::Notification& n) {
    bool changed = false;
    if (!lighting_.Handle(n, Lighting(), changed)) return false;
    if (!changed) return true;
    if (!DeviceLibraryBinding::Instance().WriteLightState(Config())) LibraryBehind();
    Edited();
    return true;
}

bool CDialogMouseHeronSetting::SetPressTypes() {
    return DeviceLibraryBinding::Instance().WritePressTypes(Config());
}

bool CDialogMouseHeronSetting::SetOwnGroups() {
    return DeviceLibraryBinding::Instance().WriteLightState(Config());
}

bool CDialogMouseHeronSetting::WriteOwn(const HeronConfig&, WriteGroup group) {
    if (group != WriteGroup::FireData) return true;
    return DeviceLibraryBinding::Instance().Call(EntryPoint::WriteFireData_Heron) == 0;
}

bool CDialogMouseHeronSetting::EditKey(KeySlot& slot) {
    assign::KeyEdit_Heron editor(&Owner(), Config(), slot);
    return editor.RunModal();
}

std::unique_ptr<ui::Control> CDialogMouseHeronSetting::CreateFireKeyPanel() {
    auto panel = std::make_unique<assign::FireKeyEdit_Heron>(
        Config(), [this](uint32_t& argb) { return PickColour(argb); }, [this] { SendFireData(); });
    firePanel_ = panel.get();
    return panel;
}

void CDialogMouseHeronSetting::FireKeysShown() {
    if (firePanel_) firePanel_->ShowGunIfNone();
}

void CDialogMouseHeronSetting::ReadTaken() {
    if (!firePanel_) return;
    // In view it shows the fresh slots now; otherwise when the tab is next opened.
    if (FireKeysOpen())
        firePanel_->Refresh();
    else
        firePanel_->ResetSelection();
}

}  // namespace mouse
