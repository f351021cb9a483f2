#pragma once
// Display labels of the button assignment codes: four bytes on the Egret, Ibis and Crane (family E),
// three bytes on the Heron and the Heron driver (family H). Text references are resolved against the
// current language; key names and macro names are returned as they are. Unknown classes and
// parameters, and models outside the form's family, give the empty string.
#include <cstdint>
#include <string>

#include "device/DeviceLibraryBinding.h"
#include "records/FamilyEConfig.h"

namespace assign {

// Family E. Labelling has side effects the pages and editors rely on:
//  - a fire-key code (class 6) updates the rapid-fire presets `config.rapidFire` (interval and
//    continuous flag, by the model's rule), which is how the presets learn their flags;
//  - a fire-macro code (class 11) stores its fourth byte as the model's remembered fire-macro byte
//    (FireMacroMemory.h), whether or not it has a label.
// Macro codes (class 16) are looked up in `config.macros`, the list last read from the device.
std::string AssignmentLabel(DeviceModel model, FamilyEConfig& config, uint8_t byte0, uint8_t byte1,
                            uint8_t byte2, uint8_t byte3);

template <FamilyERecord C>
std::string AssignmentLabel(C& config, const KeySlot& slot) {
    return AssignmentLabel(C::kModel, config, slot.code[0], slot.code[1], slot.code[2], slot.code[3]);
}

// Family H. Macro codes (classes 6 and 14) take the name from the model's macro cache in `binding`,
// which fetches an id it lacks from the device once it is asked for it.
std::string AssignmentLabel(DeviceModel model, uint8_t byte0, uint8_t byte1, uint8_t byte2,
                            DeviceLibraryBinding& binding);
std::string AssignmentLabel(DeviceModel model, uint8_t byte0, uint8_t byte1, uint8_t byte2);  // Instance()

}  // namespace assign
