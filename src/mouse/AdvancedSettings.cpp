#include "mouse/AdvancedSettings.h"

#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"
#include "ui/core/Toolkit.h"

namespace mouse {

AdvancedSettings::~AdvancedSettings() {
    // The window closes: what the user last chose still reaches the desktop, before the program goes.
    if (StopSettling()) ApplyNow(PointerSettings::Instance().Get());
    PointerSettings::Instance().WaitUntilApplied();
}

void AdvancedSettings::StartSettling() {
    StopSettling();
    if (!ui::Toolkit::IsInitialised()) return;
    settleTimer_ = ui::Toolkit::GetBackend().StartTimer(kSettleMs, [this] {
        StopSettling();
        ApplyNow(PointerSettings::Instance().Get());
    });
}

bool AdvancedSettings::StopSettling() {
    if (!settleTimer_) return false;
    if (ui::Toolkit::IsInitialised()) ui::Toolkit::GetBackend().StopTimer(settleTimer_);
    settleTimer_ = 0;
    return true;
}

void AdvancedSettings::ApplyNow(const PointerValues& values) {
    PointerSettings::Instance().Apply(values);
}

void AdvancedSettings::ShowReportRate(ui::PaintManager& manager, int reportRate) {
    if (auto* option = manager.Find<ui::Option>(names_.Numbered("result_report_rate", reportRate + 1, "")))
        option->SetSelected(true, ui::Notify::No);
}

bool AdvancedSettings::HandleReportRate(const ui::Notification& n, int& reportRate, bool& changed) {
    changed = false;
    if (n.type != "selectchanged" || !n.sender) return false;
    for (int k = 1; k <= kReportRates; ++k) {
        if (!n.sender->NameIs(names_.Numbered("result_report_rate", k, ""))) continue;
        auto* option = dynamic_cast<ui::Option*>(n.sender);
        if (option && option->IsSelected()) reportRate = k - 1, changed = true;
        return true;
    }
    return false;
}

void AdvancedSettings::ShowPointer(ui::PaintManager& manager, const PointerValues& v, ui::Notify notify) {
    if (auto* precise = manager.Find<ui::Option>(names_("result_mouse_system_iscontrol")))
        precise->SetSelected(v.enhancePrecision != 0, notify);
    if (auto* speed = manager.Find<ui::Slider>(names_("mouse_system_speed")))
        speed->SetValue(v.speedStep, notify);
    if (auto* doubleClick = manager.Find<ui::Slider>(names_("mouse_system_double_speed")))
        doubleClick->SetValue(v.doubleClickStep, notify);
    auto* wheel = manager.Find<ui::Slider>(names_("mouse_system_screen_speed"));
    auto* screen = manager.Find<ui::Option>(names_("result_mouse_system_isscreen"));
    if (wheel) wheel->SetEnabled(!v.scrollByScreen);
    if (screen) screen->SetSelected(v.scrollByScreen != 0, notify);
    if (wheel && !v.scrollByScreen) wheel->SetValue(v.wheelLines, notify);
}

bool AdvancedSettings::HandlePointer(ui::PaintManager& manager, const ui::Notification& n) {
    if (!n.sender) return false;
    auto& settings = PointerSettings::Instance();
    PointerValues v = settings.Get();
    auto sliderValue = [&](const char* base, int fallback) {
        auto* slider = manager.Find<ui::Slider>(names_(base));
        return slider ? slider->GetValue() : fallback;
    };
    if (n.type == "selectchanged") {
        auto* box = dynamic_cast<ui::Option*>(n.sender);
        const int ticked = box && box->IsSelected() ? 1 : 0;
        if (n.sender->NameIs(names_("result_mouse_system_iscontrol"))) {
            v.enhancePrecision = ticked;
            v.speedStep = sliderValue("mouse_system_speed", v.speedStep);
        } else if (n.sender->NameIs(names_("result_mouse_system_isscreen"))) {
            v.scrollByScreen = ticked;
            if (auto* wheel = manager.Find<ui::Slider>(names_("mouse_system_screen_speed")))
                wheel->SetEnabled(!ticked);
            v.wheelLines = sliderValue("mouse_system_screen_speed", v.wheelLines);
        } else {
            return false;
        }
    } else if (n.type == "valuechanging") {
        const int value = static_cast<int>(n.wParam);
        if (n.sender->NameIs(names_("mouse_system_speed")))
            v.speedStep = value;
        else if (n.sender->NameIs(names_("mouse_system_double_speed")))
            v.doubleClickStep = value;
        else if (n.sender->NameIs(names_("mouse_system_screen_speed")))
            v.wheelLines = value;
        else
            return false;
        // A drag passes many values; the desktop gets the one the user stops at.
        settings.Set(v);
        StartSettling();
        return true;
    } else {
        return false;
    }
    StopSettling();  // the box's change carries the sliders' values too
    ApplyNow(v);
    return true;
}

}  // namespace mouse
