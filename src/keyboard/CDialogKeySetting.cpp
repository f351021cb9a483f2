#include "keyboard/CDialogKeySetting.h"

#include "device/DeviceLibraryBinding.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"

namespace keyboard {

CDialogKeySetting::CDialogKeySetting(ui::WindowImplBase& owner) : owner_(owner) {
    const ModelRow& row = RowOf(kModel);
    SetName(std::string("page_") + row.suffix);
    LoadSkin(owner.GetManager(), row.pageSkin);
    listener_ = owner.GetManager().AddNotifier([this](ui::Notification& n) {
        if (!n.sender && n.type == RowOf(kModel).lostNotification) SetConnected(false);
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
    const DeviceId ids = IdsOf(kModel);
    return DeviceLibraryBinding::Instance().Call(RowOf(kModel).open, ids.vid, ids.pid) == 0;
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
