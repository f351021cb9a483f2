#include "mouse/CDialogMouseEgretSetting.h"

#include "assign/FireKeyEdit_Egret.h"
#include "assign/KeyEdit_Egret.h"
#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "mouse/PageOperation.h"
#include "mouse/UartLedEdit_Egret.h"
#include "ui/builder/AttributeParsers.h"

namespace mouse {
namespace {

const FamilyEModel kEgretModel{{"Egret", "XML/MousePage_Egret.xml", DeviceModel::Egret,
                                EntryPoint::InitMCUDevice_Egret, "Egret_Connet_Error"},
                               "WRITE_EgretDATA",
                               "READ_EgretDATA",
                               "Change_DPIColor_Egret_Data",
                               EntryPoint::Device_SetCallBack_Egret,
                               &LightingEditor::EgretModes(),
                               &ProfileFileModel::Egret()};

}  // namespace

CDialogMouseEgretSetting::CDialogMouseEgretSetting(ui::WindowImplBase& owner)
    : FamilyEPage(owner, kEgretModel) {}

std::unique_ptr<ui::Control> CDialogMouseEgretSetting::CreateSubPage(std::string_view className) {
    if (!ui::EqualsNoCase(className, "UartLedSettingPage_Egret"))
        return FamilyEPage::CreateSubPage(className);
    auto editor = std::make_unique<UartLedEdit_Egret>(*this);
    uartLedEditor_ = editor.get();
    return editor;
}

void CDialogMouseEgretSetting::LightingShown() {
    if (config_.deviceKind != 0 && uartLedEditor_) uartLedEditor_->Refresh();
}

std::shared_ptr<FamilyEConfig> CDialogMouseEgretSetting::CopyConfig() const {
    return std::make_shared<EgretConfig>(config_);
}

std::shared_ptr<FamilyEConfig> CDialogMouseEgretSetting::NewConfig() const {
    // Seeded with the live record: a group whose read fails keeps what the page held, as it would
    // if the library filled the live record in place. The lists a read rebuilds are emptied by it.
    return std::make_shared<EgretConfig>(config_);
}

bool CDialogMouseEgretSetting::ReadRecord(FamilyEConfig& record, int keyCount) {
    auto& c = static_cast<EgretConfig&>(record);
    auto& binding = DeviceLibraryBinding::Instance();
    const auto ids = SkinIds();
    if (binding.Call(EntryPoint::InitMCUDevice_Egret, ids.egretVid, ids.egretPid,
                     int32_t{c.fireMacroVisible}) != 0)
        return false;
    c.macros.Clear();
    c.fireMacros.clear();
    int32_t kind = 0;
    if (binding.Call(EntryPoint::ReadDeviceData_Egret, &kind) == 0) c.deviceKind = kind;
    // What the record held for another variant is not this mouse's.
    if (c.deviceKind == 0)
        c.uartLeds.clear();
    else
        c.keyLists[2].clear();
    // Individual reads may fail; the record keeps what each delivered.
    binding.ReadProfileIndex(c);
    binding.ReadMacros(c);
    binding.ReadFireSlots(c);
    binding.ReadMacroKeys(c, 0, keyCount);
    binding.ReadMacroKeys(c, 1, keyCount);
    if (c.deviceKind == 0) binding.ReadMacroKeys(c, 2, keyCount);
    const int fireMacros = c.deviceKind == 0 ? 10 : 7;
    for (int i = 0; i < fireMacros; ++i) binding.ReadFireMacro(c, i);
    const int heldCount = c.stageCount, heldStage = c.currentStage;
    binding.ReadStages(c);
    StageEditor::KeepEnabled(c.stageCount, c.currentStage, heldCount, heldStage);
    binding.ReadReportRate(c);
    binding.ReadLighting(c);
    binding.Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret, c.ledEffectBlock.data());
    RegisterChangeCallback();
    return true;
}

bool CDialogMouseEgretSetting::WriteRecord(const FamilyEConfig& record, int operation, int editedKeyIndex) {
    const auto& c = static_cast<const EgretConfig&>(record);
    auto& binding = DeviceLibraryBinding::Instance();
    switch (operation) {
        case kOpProfile:
            return binding.WriteProfileIndex(c);
        case kOpStages:
            return binding.WriteStages(c);
        case kOpKey:
            return binding.WriteMacroKey(c, c.currentProfile, editedKeyIndex);
        case kOpReportRate:
            return binding.WriteReportRate(c);
        case kOpRapidFire1:
        case kOpRapidFire2:
        case kOpRapidFire3:
            // The matching fire keys were written before, through WriteKey.
            return binding.WriteFireSlot(c, operation - kOpRapidFire1);
        case kOpLighting:
            return binding.WriteLighting(c);
        case kOpUartLed:
            return binding.WriteUartLed(c, editedKeyIndex);
        // Profile files (9-11) run as the page's own work (FamilyEPage::PrepareWrite).
        default:
            return true;
    }
}

bool CDialogMouseEgretSetting::WriteKey(const FamilyEConfig& record, int profile, int keyIndex) {
    return DeviceLibraryBinding::Instance().WriteMacroKey(static_cast<const EgretConfig&>(record), profile,
                                                          keyIndex);
}

void CDialogMouseEgretSetting::Adopt(std::shared_ptr<FamilyEConfig> fresh) {
    config_ = static_cast<EgretConfig&>(*fresh);
    if (firePanel_) firePanel_->ResetSelection();  // the tab shows the fresh patterns when next opened
}

bool CDialogMouseEgretSetting::EditKey(KeySlot& slot) {
    assign::KeyEdit_Egret editor(&Owner(), config_, slot);
    return editor.RunModal();
}

std::unique_ptr<ui::Control> CDialogMouseEgretSetting::CreateFireKeyPanel() {
    auto panel = std::make_unique<assign::FireKeyEdit_Egret>(
        config_, [this](uint32_t& argb) { return ChooseColour(argb); });
    firePanel_ = panel.get();
    return panel;
}

void CDialogMouseEgretSetting::FireKeyTabOpened() {
    if (firePanel_) firePanel_->ShowGunIfNone();
}

}  // namespace mouse
