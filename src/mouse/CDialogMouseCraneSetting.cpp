#include "mouse/CDialogMouseCraneSetting.h"

#include "assign/KeyEdit_Crane.h"
#include "device/DeviceLibraryBinding.h"
#include "macro/MacroModelPages.h"
#include "mouse/KeySwitchModes.h"
#include "mouse/PageOperation.h"
#include "ui/controls/Option.h"

namespace mouse {
namespace {

// The page's seven lighting options; the skin gives each its mode code.
const LightingModel& CraneModes() {
    static const LightingModel model{{{"result_LED_mode_0", 0},
                                      {"result_LED_mode_1", 0},
                                      {"result_LED_mode_2", 0},
                                      {"result_LED_mode_3", 0},
                                      {"result_LED_mode_4", 0},
                                      {"result_LED_mode_5", 0},
                                      {"result_LED_mode_6", 0}},
                                     true};
    return model;
}

struct SwitchBox {
    const char* base;
    bool KeySwitchBoxes::*box;
    bool clearsBackLight;  // its change first clears the back-light box
};

constexpr SwitchBox kSwitchBoxes[] = {
    {"result_back_key_switch_led", &KeySwitchBoxes::backLight, false},
    {"result_middle_key_switch_mode", &KeySwitchBoxes::middle, false},
    {"result_cpi_key_switch_mode", &KeySwitchBoxes::cpi, false},
    {"result_cpi+_key_switch_mode", &KeySwitchBoxes::cpiUp, false},
    {"result_cpi-_key_switch_mode", &KeySwitchBoxes::cpiDown, false},
    {"result_back_key_switch_mode", &KeySwitchBoxes::back, true},
    {"result_forward_key_switch_mode", &KeySwitchBoxes::forward, true},
    {"result_gun_key_switch_mode", &KeySwitchBoxes::gun, false},
};

constexpr int kOpKeySwitchModes = 12;
constexpr int kOpRandomTime = 13;

}  // namespace

CDialogMouseCraneSetting::CDialogMouseCraneSetting(ui::WindowImplBase& owner)
    : FamilyEPage(owner, CraneModes()) {}

void CDialogMouseCraneSetting::InitPage() {
    FamilyEPage::InitPage();
    if (auto* speed = Manager().FindControl(Names()("result_mode_speed")))
        Config().lightingVariant = speed->GetUserData();
}

void CDialogMouseCraneSetting::ReadOwnFields(CraneConfig& c) {
    auto& binding = DeviceLibraryBinding::Instance();
    binding.ReadComboKeys(c);
    int32_t randomTime = 0;
    if (binding.Call(EntryPoint::Device_Get_Increased_Random_Time, &randomTime) == 0)
        c.randomTime = randomTime >= 0 && randomTime <= 255 ? randomTime : 0;
}

bool CDialogMouseCraneSetting::WriteOwn(const CraneConfig& c, WriteGroup group, int) {
    auto& binding = DeviceLibraryBinding::Instance();
    if (group == WriteGroup::KeySwitchModes) return binding.WriteComboKeys(c);
    if (group == WriteGroup::RandomTime)
        return binding.Call(EntryPoint::Device_Set_Increased_Random_Time, int32_t{c.randomTime}) == 0;
    return true;
}

void CDialogMouseCraneSetting::RefreshOwn() {
    // Boxes the keys and blocks show are ticked; none is ever cleared here.
    const KeySwitchBoxes shown = KeySwitchModes::Shown(Config());
    for (const SwitchBox& s : kSwitchBoxes)
        if (shown.*s.box)
            if (auto* box = Manager().Find<ui::Option>(Names()(s.base)))
                box->SetSelected(true, ui::Notify::No);
    if (folderPage_) folderPage_->ShowRandomTime(Config().randomTime);
}

bool CDialogMouseCraneSetting::HandleOwn(ui::Notification& n) {
    if (n.type != "selectchanged") return false;
    for (const SwitchBox& s : kSwitchBoxes) {
        if (!n.sender->NameIs(Names()(s.base))) continue;
        if (s.clearsBackLight)
            if (auto* light = Manager().Find<ui::Option>(Names()(kSwitchBoxes[0].base)))
                light->SetSelected(false, ui::Notify::No);
        RequestEditorOperation(kOpKeySwitchModes);
        return true;
    }
    return false;
}

void CDialogMouseCraneSetting::PrepareOwnWrite(WriteGroup group) {
    if (group != WriteGroup::KeySwitchModes) return;
    // The boxes as they are now decide; the keys' new byte 3 stays in the record until a key write.
    KeySwitchBoxes boxes;
    for (const SwitchBox& s : kSwitchBoxes)
        if (auto* box = Manager().Find<ui::Option>(Names()(s.base))) boxes.*s.box = box->IsSelected();
    KeySwitchModes::Apply(Config(), boxes);
    for (const SwitchBox& s : kSwitchBoxes)
        if (auto* box = Manager().Find<ui::Option>(Names()(s.base)))
            box->SetSelected(boxes.*s.box, ui::Notify::No);
}

bool CDialogMouseCraneSetting::EditKey(KeySlot& slot) {
    assign::KeyEdit_Crane editor(&Owner(), Config(), slot);
    return editor.RunModal();
}

std::unique_ptr<MacroManagerPage> CDialogMouseCraneSetting::CreateMacroPage(bool folder) {
    if (!folder) return FamilyEPage::CreateMacroPage(folder);
    auto page = std::make_unique<MarcoManagerFolder_Crane>(Owner(), [this](int randomTime) {
        Config().randomTime = randomTime;
        RequestEditorOperation(kOpRandomTime);
    });
    folderPage_ = page.get();
    return page;
}

}  // namespace mouse
