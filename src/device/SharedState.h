#pragma once
// Process-wide values the main window sets and the pages and device tasks read.
#include <array>
#include <cstdint>
#include <string>

#include "records/DeviceModel.h"

struct DeviceId {
    int32_t vid = 0;
    int32_t pid = 0;
};

// Vendor and product ids read from the main skin, for the models whose row names its labels.
struct SkinDeviceIds {
    std::array<DeviceId, kDeviceModelCount> byModel{};
    DeviceId& operator[](DeviceModel model) { return byModel[static_cast<size_t>(model)]; }
    const DeviceId& operator[](DeviceModel model) const { return byModel[static_cast<size_t>(model)]; }
};

// The program folder, ending in '/'.
const std::string& AppFolder();
// The macro working folder "Lumenor_MacroBin" in the per-user private folder, ending in '/'.
const std::string& MacroTempFolder();
SkinDeviceIds& SkinIds();
// The ids the model's device opens with: the skin's where its row names labels, else its constants.
DeviceId IdsOf(DeviceModel model);

void SetAppFolder(std::string folder);
void SetMacroTempFolder(std::string folder);

// Decimal id as the skin writes it: leading blanks skipped, digits up to the first non-digit, no
// digits gives 0.
int32_t ParseSkinId(const std::string& text);
