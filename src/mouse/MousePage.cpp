#include "mouse/MousePage.h"

namespace mouse {
namespace {

const MouseModel kHeron{"Heron", "XML/MousePage_Heron.xml"};
const MouseModel kHeronDriver{"Heron_Driver", "XML/MousePage_Heron_Driver.xml"};
const MouseModel kEgret{"Egret", "XML/MousePage_Egret.xml"};
const MouseModel kIbis{"Ibis", "XML/MousePage_Ibis.xml"};
const MouseModel kCrane{"Crane", "XML/MousePage_Crane.xml"};

}  // namespace

MousePage::MousePage(ui::WindowImplBase& owner, const MouseModel& model) : owner_(owner), model_(model) {
    SetName(std::string("page_") + model.suffix);
    LoadSkin(owner.GetManager(), model.skinFile);
    SetConnected(false);
}

void MousePage::SetConnected(bool connected) {
    connected_ = connected;
    SetEnabled(connected);
}

CDialogMouseHeronSetting::CDialogMouseHeronSetting(ui::WindowImplBase& owner) : MousePage(owner, kHeron) {}
CDialogMouseHeronDriverSetting::CDialogMouseHeronDriverSetting(ui::WindowImplBase& owner)
    : MousePage(owner, kHeronDriver) {}
CDialogMouseEgretSetting::CDialogMouseEgretSetting(ui::WindowImplBase& owner) : MousePage(owner, kEgret) {}
CDialogMouseIbisSetting::CDialogMouseIbisSetting(ui::WindowImplBase& owner) : MousePage(owner, kIbis) {}
CDialogMouseCraneSetting::CDialogMouseCraneSetting(ui::WindowImplBase& owner) : MousePage(owner, kCrane) {}

}  // namespace mouse
