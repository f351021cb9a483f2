// Lumenor_Plover: the Plover keyboard. Writes are staged in the library and take effect on
// Device_ReloadDevice; opening re-reads the keyboard's memory.
#include "libs/LibraryCommon.h"

namespace {
sim::SimDevice& Dev() {
    static sim::SimDevice device(sim::kPloverSpec);
    return device;
}
constexpr int32_t kKeyTableBytes = 216;
}  // namespace

using sim::FieldId;
using sim::Image;

OAK_API int32_t InitMCUDevice(int32_t vid, int32_t pid) {
    return Dev().Open(__func__, vid, pid);
}
OAK_API int32_t Device_ReloadDevice() {
    return Dev().Push(__func__);
}

OAK_SCALAR(Device_GetProFileIndex, Device_WriteProFileIndex, Profile)

OAK_API int32_t Device_GetProFileData(int32_t profile, uint8_t* table) {
    return Dev().GetBlock(__func__, FieldId::KeyTable, profile, table, kKeyTableBytes, sim::kTransfer);
}
OAK_API int32_t Device_WriteProFileData(int32_t profile, const uint8_t* table) {
    return Dev().SetBlock(__func__, FieldId::KeyTable, profile, table, kKeyTableBytes, sim::kTransfer);
}

// An empty slot has no macro to hand out.
OAK_API int32_t Device_GetMarcoData(int32_t index, uint8_t* name, uint8_t* events) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer, [&](Image& m) {
        const sim::Field& n = FieldOf(FieldId::MacroName);
        const sim::Field& e = FieldOf(FieldId::MacroEvents);
        if (index < 0 || index >= n.count || !name || !events) return sim::kBadArgument;
        const uint8_t* storedName = m.data() + n.ElementOffset(index);
        const uint8_t* storedEvents = m.data() + e.ElementOffset(index);
        bool empty = true;
        for (int i = 0; i < n.width && empty; ++i) empty = storedName[i] == 0;
        for (int i = 0; i < e.width && empty; ++i) empty = storedEvents[i] == 0;
        if (empty) return sim::kNoData;
        std::memcpy(name, storedName, n.width);
        std::memcpy(events, storedEvents, e.width);
        return sim::kOk;
    });
}

// Past the last slot the keyboard answers -1, which ends the caller's macro download.
OAK_API int32_t Device_WriteMarcoData(int32_t index, const uint8_t* name, const uint8_t* events) {
    return Dev().Run(__func__, sim::kNeedReady | sim::kTransfer | sim::kWrites, [&](Image& m) {
        const sim::Field& n = FieldOf(FieldId::MacroName);
        const sim::Field& e = FieldOf(FieldId::MacroEvents);
        if (index < 0 || index >= n.count) return sim::kEndOfSlots;
        if (!name || !events) return sim::kBadArgument;
        std::memcpy(m.data() + n.ElementOffset(index), name, n.width);
        std::memcpy(m.data() + e.ElementOffset(index), events, e.width);
        return sim::kOk;
    });
}

OAK_API int32_t Device_ReadEEPromData(uint8_t* image) {
    return Dev().SaveImage(__func__, image, static_cast<int32_t>(Dev().Spec().imageSize));
}
OAK_API int32_t Device_WriteEEpromData(const uint8_t* image) {
    return Dev().LoadImage(__func__, image, static_cast<int32_t>(Dev().Spec().imageSize));
}

OAK_API int32_t Device_GetLedData(int32_t block, uint8_t* b0, uint8_t* b1, uint8_t* b2, uint8_t* b3) {
    return Dev().GetBytes(__func__, FieldId::LedBlock, block, {b0, b1, b2, b3});
}
OAK_API int32_t Device_WriteLedData(int32_t block, int32_t b0, int32_t b1, int32_t b2, int32_t b3) {
    return Dev().SetBytes(__func__, FieldId::LedBlock, block, {b0, b1, b2, b3});
}

OAK_DEFINE_CONTROL_SURFACE()
