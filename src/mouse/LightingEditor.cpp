#include "mouse/LightingEditor.h"

#include <cstdlib>

#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"

namespace mouse {

const LightingModel& LightingEditor::EgretModes() {
    static const LightingModel model{{{"result_LED_mode_DPI_color_breath", 0},
                                      {"result_LED_mode_Colorful_light", 1},
                                      {"result_LED_mode_rainbow", 2},
                                      {"result_LED_mode_flow_light", 3},
                                      {"result_LED_mode_waltz", 4},
                                      {"result_LED_mode_4_seasons", 5},
                                      {"result_LED_mode_off", 6}},
                                     false};
    return model;
}

const LightingModel& LightingEditor::IbisModes() {
    static const LightingModel model{{{"result_LED_mode_off", 0},
                                      {"result_LED_mode_Random", 1},
                                      {"result_LED_mode_Breath_in_turn", 2},
                                      {"result_LED_mode_Fixed_Color", 3},
                                      {"result_LED_mode_Mixed_Color", 4},
                                      {"result_LED_mode_DPI_Color", 5}},
                                     false};
    return model;
}

const LightingModel& LightingEditor::HeronModes() {
    static const LightingModel model{{{"result_LED_mode_rainbow", 0},
                                      {"result_LED_mode_random_leisure", 1},
                                      {"result_LED_mode_random_sleep", 2},
                                      {"result_LED_mode_random_sport", 3},
                                      {"result_LED_mode_DPI_color_breath", 4},
                                      {"result_LED_mode_DPI_light_on", 5},
                                      {"result_LED_mode_off", 6}},
                                     false,
                                     true};
    return model;
}

int LightingEditor::CodeOf(ui::PaintManager& manager, const LightingMode& mode) const {
    if (!model_.codesFromUserData) return mode.code;
    auto* option = manager.FindControl(names_(mode.base));
    return option ? std::atoi(option->GetUserData().c_str()) : 0;  // not a number: code 0
}

void LightingEditor::Show(ui::PaintManager& manager, const LightingFields& f) {
    if (auto* all = manager.Find<ui::Option>(names_("result_LED_light_all")))
        all->SetSelected(f.lightAll != 0, ui::Notify::No);
    if (auto* half = manager.Find<ui::Option>(names_("result_LED_light_half")))
        half->SetSelected(f.lightAll == 0, ui::Notify::No);
    if (f.lightsOff) {
        if (auto* on = manager.Find<ui::Option>(names_("result_LED_status_on")))
            on->SetSelected(*f.lightsOff == 0, ui::Notify::No);
        if (auto* off = manager.Find<ui::Option>(names_("result_LED_status_off")))
            off->SetSelected(*f.lightsOff != 0, ui::Notify::No);
    }
    // The first option with the mode's code is selected; a mode no option has selects none.
    bool found = false;
    for (const auto& mode : model_.modes) {
        auto* option = manager.Find<ui::Option>(names_(mode.base));
        if (!option) continue;
        bool match = !found && CodeOf(manager, mode) == f.mode;
        found = found || match;
        option->SetSelected(match, ui::Notify::No);
    }
    if (auto* speed = manager.Find<ui::Slider>(names_("result_mode_speed")))
        speed->SetValue(f.speed, ui::Notify::No);
}

bool LightingEditor::Handle(const ui::Notification& n, const LightingFields& f, bool& changed) {
    changed = false;
    if (!n.sender) return false;
    if (n.type == "selectchanged") {
        auto* option = dynamic_cast<ui::Option*>(n.sender);
        const bool selected = option && option->IsSelected();
        if (n.sender->NameIs(names_("result_LED_light_all"))) {
            if (selected) f.lightAll = 1, changed = true;
            return true;
        }
        if (n.sender->NameIs(names_("result_LED_light_half"))) {
            if (selected) f.lightAll = 0, changed = true;
            return true;
        }
        for (const int off : {0, 1}) {
            if (!f.lightsOff ||
                !n.sender->NameIs(names_(off ? "result_LED_status_off" : "result_LED_status_on")))
                continue;
            if (selected) *f.lightsOff = off, changed = true;
            return true;
        }
        for (const auto& mode : model_.modes) {
            if (!n.sender->NameIs(names_(mode.base))) continue;
            if (selected && n.sender->GetManager())
                f.mode = CodeOf(*n.sender->GetManager(), mode), changed = true;
            return true;
        }
        return false;
    }
    if (n.type == (model_.speedOnRelease ? "valuechanged" : "valuechanging") &&
        n.sender->NameIs(names_("result_mode_speed"))) {
        f.speed = static_cast<int>(n.wParam);
        changed = true;
        return true;
    }
    return false;
}

}  // namespace mouse
