#include "keyboard/CDialogKeySetting.h"

namespace keyboard {

CDialogKeySetting::CDialogKeySetting(ui::WindowImplBase& owner) : owner_(owner) {
    SetName("page_Plover");
    LoadSkin(owner.GetManager(), "XML/KeyboardPage.xml");
    SetConnected(false);
}

void CDialogKeySetting::SetConnected(bool connected) {
    connected_ = connected;
    SetEnabled(connected);
}

}  // namespace keyboard
