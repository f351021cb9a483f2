#include "keyboard/CDialogKeySetting.h"

#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"

namespace keyboard {

CDialogKeySetting::CDialogKeySetting(ui::WindowImplBase& owner) : owner_(owner) {
    SetName("page_Plover");
    LoadSkin(owner.GetManager(), "XML/KeyboardPage.xml");
    listener_ = owner.GetManager().AddNotifier([this](ui::Notification& n) {
        if (!n.sender && n.type == "Plover_Connet_Error") SetConnected(false);
    });
    SetConnected(false);
}

void CDialogKeySetting::SetConnected(bool connected) {
    connected_ = connected;
    SetEnabled(connected);
    if (auto* status = owner_.GetManager().FindControl("keyboard_status")) {
        status->SetText(connected ? "%{320}" : "%{313}");
        status->SetEnabled(connected);
    }
    if (auto* hint = owner_.GetManager().FindControl("keyboard_hint"))
        hint->SetText(connected ? "" : "%{314}");
}

bool CDialogKeySetting::Open() {
    return DeviceLibraryBinding::Instance().Call(EntryPoint::InitMCUDevice, int32_t{kLumenorVid},
                                                 int32_t{kPloverPid}) == 0;
}

std::unique_ptr<PageWork> CDialogKeySetting::ReadDevice() {
    return std::make_unique<FunctionWork>([] { return Open(); }, [this](bool ok) { SetConnected(ok); });
}

std::unique_ptr<PageWork> CDialogKeySetting::PrepareWrite(int) {
    return std::make_unique<FunctionWork>(nullptr, nullptr);
}

std::unique_ptr<PageWork> CDialogKeySetting::Reopen() {
    return std::make_unique<FunctionWork>([] { return Open(); }, nullptr);
}

}  // namespace keyboard
