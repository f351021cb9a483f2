#pragma once
// The remembered fire-macro byte of each family-E model: the fourth byte of the last fire-macro code
// that was labelled, 0 at start. The key editors write it into the fire-macro codes they build.
// UI thread only, like the labelling that sets it.
#include <cstdint>

#include "records/DeviceModel.h"

namespace assign {

uint8_t RememberedFireMacroByte(DeviceModel model);
void SetRememberedFireMacroByte(DeviceModel model, uint8_t value);

}  // namespace assign
