// Grouped operations of the Plover keyboard library.
#include <algorithm>

#include "device/DeviceLibraryBinding.h"
#include "device/DeviceName.h"

namespace {

constexpr size_t kMacroNameBytes = 32;  // 16 characters
constexpr size_t kMacroEventBytes = 144;
constexpr int32_t kEndOfSlots = -1;

bool ValidBlock(int block) {
    return block == 0 || block == 1;
}

}  // namespace

bool DeviceLibraryBinding::ReadLedBlock(KeyboardConfig& config, int block) {
    if (!ValidBlock(block)) return false;
    std::array<uint8_t, 4> led{};
    if (Call(EntryPoint::Device_GetLedData, int32_t{block}, &led[0], &led[1], &led[2], &led[3]) != 0)
        return GaveUp("ReadLedBlock");
    config.ledBlocks[static_cast<size_t>(block)] = led;
    return true;
}

bool DeviceLibraryBinding::WriteLedBlock(const KeyboardConfig& config, int block) {
    if (!ValidBlock(block)) return false;
    const auto& led = config.ledBlocks[static_cast<size_t>(block)];
    Call(EntryPoint::Device_WriteLedData, int32_t{block}, int32_t{led[0]}, int32_t{led[1]}, int32_t{led[2]},
         int32_t{led[3]});
    return true;
}

bool DeviceLibraryBinding::ReadKeyTable(int profile, KeyTable& table) {
    KeyTable read{};
    if (Call(EntryPoint::Device_GetProFileData, int32_t{profile}, AsBuffer(read)) != 0)
        return GaveUp("ReadKeyTable");
    table = read;
    return true;
}

bool DeviceLibraryBinding::WriteKeyTable(int profile, const KeyTable& table) {
    KeyTable copy = table;  // the library takes a writable buffer
    return Call(EntryPoint::Device_WriteProFileData, int32_t{profile}, AsBuffer(copy)) == 0 ||
           GaveUp("WriteKeyTable");
}

bool DeviceLibraryBinding::WriteMacros(const MacroList& macros) {
    bool ok = true;
    for (size_t i = 0; i < macros.size(); ++i) {
        std::vector<uint8_t> name = EncodeDeviceName(macros[i].name, kMacroNameBytes);
        uint8_t events[kMacroEventBytes] = {};
        std::copy_n(macros[i].data.begin(), std::min(macros[i].data.size(), kMacroEventBytes), events);
        const int32_t status = Call(EntryPoint::Device_WriteMarcoData, static_cast<int32_t>(i),
                                    AsBuffer(name), AsBuffer(events));
        if (status == kEndOfSlots) return GaveUp("WriteMacros");
        if (status != 0) ok = false;
    }
    return ok || GaveUp("WriteMacros");
}
