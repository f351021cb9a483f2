#include "macro/MacroFileFormat.h"

#include <algorithm>
#include <array>

#include "device/DeviceName.h"
#include "macro/MacroCodec.h"

namespace {

// Indexed by DeviceModel.
constexpr std::array<MacroFileFormat, kDeviceModelCount> kFormats = {{
    {DeviceModel::Plover, "MacroKeyBoardData_Heron.bin", nullptr, 176, 32, 144},
    {DeviceModel::Heron, "MacroMouseHeronData.bin", "MacroMouseHeronData", 256, 32, 224},
    {DeviceModel::Egret, "MacroMouseEgretData.bin", "MacroMouseEgretData", 240, 16, 224},
    {DeviceModel::Ibis, "MacroMouseIbisData.bin", "MacroMouseIbisData", 240, 16, 224},
    {DeviceModel::Crane, "MacroMouseCraneData.bin", "MacroMouseCraneData", 240, 16, 224},
    {DeviceModel::HeronDriver, "MacroMouseHeronDriverData.bin", "MacroMouseHeronDriverData", 2048, 32, 2016},
}};

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Code points no text holds: controls, and the noncharacters (U+FDD0..U+FDEF and the last two of
// every plane) that Unicode keeps for a program's internal use.
bool IsTextCodePoint(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
    if (c >= 0xFDD0 && c <= 0xFDEF) return false;
    return (c & 0xFFFE) != 0xFFFE;
}

}  // namespace

bool IsMacroNameText(std::u16string_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        char32_t c = name[i];
        if (IsLowSurrogate(name[i])) return false;
        if (IsHighSurrogate(name[i])) {
            if (i + 1 >= name.size() || !IsLowSurrogate(name[i + 1])) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        }
        if (!IsTextCodePoint(c)) return false;
    }
    return true;
}

const MacroFileFormat& FileFormat(DeviceModel model) {
    return kFormats[static_cast<size_t>(model)];
}

std::u16string CutName(std::u16string_view name, size_t maxChars) {
    if (name.size() <= maxChars) return std::u16string(name);
    size_t keep = maxChars;
    if (keep > 0 && IsHighSurrogate(name[keep - 1]) && IsLowSurrogate(name[keep])) --keep;
    return std::u16string(name.substr(0, keep));
}

void AppendMacroRecords(DeviceModel model, std::span<const uint8_t> bytes, MacroList& list) {
    const MacroFileFormat& format = FileFormat(model);
    for (size_t offset = 0; format.recordSize <= bytes.size() - offset; offset += format.recordSize) {
        const uint8_t* record = bytes.data() + offset;
        std::u16string name = DecodeDeviceName(record, format.nameBytes);
        // Empty slots, and garbage that would show as a macro with a nonsense name.
        if (name.empty() || !IsMacroNameText(name)) continue;
        list.Add({std::move(name), TrimMacroData(model, {record + format.nameBytes, format.dataBytes})});
    }
}

MacroList ParseMacroRecords(DeviceModel model, std::span<const uint8_t> bytes) {
    MacroList list;
    AppendMacroRecords(model, bytes, list);
    return list;
}

std::vector<uint8_t> SerializeMacroRecords(DeviceModel model, const MacroList& list) {
    const MacroFileFormat& format = FileFormat(model);
    std::vector<uint8_t> out;
    out.reserve(list.size() * format.recordSize);
    for (const auto& entry : list) {
        const std::vector<uint8_t> name =
            EncodeDeviceName(CutName(entry->name, format.nameChars()), format.nameBytes);
        out.insert(out.end(), name.begin(), name.end());
        const size_t dataBytes = std::min(entry->data.size(), format.dataBytes);
        out.insert(out.end(), entry->data.begin(),
                   entry->data.begin() + static_cast<std::ptrdiff_t>(dataBytes));
        out.resize(out.size() + format.dataBytes - dataBytes, 0);
    }
    return out;
}
