#include "mouse/CDialogMouseEgretSetting.h"

#include "assign/KeyEdit_Egret.h"
#include "device/DeviceLibraryBinding.h"
#include "mouse/UartLedEdit_Egret.h"
#include "ui/builder/AttributeParsers.h"

namespace mouse {

CDialogMouseEgretSetting::CDialogMouseEgretSetting(ui::WindowImplBase& owner)
    : FamilyEPage(owner, LightingEditor::EgretModes()) {}

std::unique_ptr<ui::Control> CDialogMouseEgretSetting::CreateSubPage(std::string_view className) {
    if (!ui::EqualsNoCase(className, "UartLedSettingPage_Egret"))
        return FamilyEPage::CreateSubPage(className);
    auto editor = std::make_unique<UartLedEdit_Egret>(*this);
    uartLedEditor_ = editor.get();
    return editor;
}

void CDialogMouseEgretSetting::ReadOwnFields(EgretConfig& c) {
    // The UART LED entries are the editor's to read, and only the LED strip variants have them.
    if (!Row().Variant(c.deviceKind).uartLeds) c.uartLeds.clear();
    DeviceLibraryBinding::Instance().Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret,
                                          c.ledEffectBlock.data());
}

bool CDialogMouseEgretSetting::WriteOwn(const EgretConfig& c, WriteGroup group, int target) {
    if (group == WriteGroup::UartLed) return DeviceLibraryBinding::Instance().WriteUartLed(c, target);
    return true;
}

void CDialogMouseEgretSetting::LightingShown() {
    if (Variant().uartLeds && uartLedEditor_) uartLedEditor_->Refresh();
}

bool CDialogMouseEgretSetting::EditKey(KeySlot& slot) {
    assign::KeyEdit_Egret editor(&Owner(), Config(), slot);
    return editor.RunModal();
}

}  // namespace mouse
