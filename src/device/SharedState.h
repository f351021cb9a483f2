#pragma once
// Process-wide values the main window sets and the pages and device tasks read.
#include <cstdint>
#include <string>

// Vendor and product ids of the Egret, Ibis and Crane models, read from the main skin.
struct SkinDeviceIds {
    int32_t egretVid = 0;
    int32_t egretPid = 0;
    int32_t ibisVid = 0;
    int32_t ibisPid = 0;
    int32_t craneVid = 0;
    int32_t cranePid = 0;
};

// The program folder, ending in '/'.
const std::string& AppFolder();
// The macro working folder "Lumenor_MacroBin" in the per-user private folder, ending in '/'.
const std::string& MacroTempFolder();
SkinDeviceIds& SkinIds();

void SetAppFolder(std::string folder);
void SetMacroTempFolder(std::string folder);

// Decimal id as the skin writes it: leading blanks skipped, digits up to the first non-digit, no
// digits gives 0.
int32_t ParseSkinId(const std::string& text);
