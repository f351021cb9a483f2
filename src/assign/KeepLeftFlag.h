#pragma once
// The keep-left flag of each family-E model: set from the fire-key panel's check box on every store,
// put by the key editor into the fire-macro codes it builds. 1 at start and never saved. UI thread
// only.
#include <cstdint>

#include "records/DeviceModel.h"

namespace assign {

uint8_t KeepLeftFlag(DeviceModel model);
void SetKeepLeftFlag(DeviceModel model, uint8_t value);

}  // namespace assign
