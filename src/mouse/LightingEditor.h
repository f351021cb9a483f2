#pragma once
// The plain lighting page of a mouse page: mode options, all or half of the lights, the effect
// speed and, where the model has them, the lights on or off. Each model names its options and their
// mode codes as data.
#include <string>
#include <vector>

#include "mouse/PageNames.h"
#include "ui/core/Notification.h"
#include "ui/core/PaintManager.h"

namespace mouse {

struct LightingMode {
    std::string base;  // control name without the model suffix
    int code;          // mode code; with codesFromUserData, the option's user data instead
};

struct LightingModel {
    std::vector<LightingMode> modes;
    bool codesFromUserData = false;  // the skin assigns each option's code
    bool speedOnRelease = false;     // the speed is taken when its slider is released, not while it moves
};

// The lighting fields of a record.
struct LightingFields {
    int& mode;
    int& lightAll;
    int& speed;
    int* lightsOff = nullptr;  // 1 off, 0 on, for the status options; null: the model has none
};

class LightingEditor {
  public:
    // The Egret's seven modes.
    static const LightingModel& EgretModes();
    // The Ibis's six modes.
    static const LightingModel& IbisModes();
    // The Heron's seven modes; its speed is taken on release.
    static const LightingModel& HeronModes();

    LightingEditor(const PageNames& names, const LightingModel& model) : names_(names), model_(model) {}

    void Show(ui::PaintManager& manager, const LightingFields& fields);
    // Handles the lighting controls' notifications: `changed` is set when a field took a new value
    // and the lighting is to be written. True when `n` was one of them.
    bool Handle(const ui::Notification& n, const LightingFields& fields, bool& changed);

  private:
    int CodeOf(ui::PaintManager& manager, const LightingMode& mode) const;

    const PageNames& names_;
    const LightingModel& model_;
};

}  // namespace mouse
