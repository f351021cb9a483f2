// Fuzz target for the macro file loader: the first byte picks the model, the rest is the file.
// Loading must never crash nor keep a name that is not text, and writing the list and loading it again must
// give the same names and the same macros (an empty data field comes back as its zero filler, which means the
// same).
#include <cstddef>
#include <cstdint>
#include <span>

#include "macro/MacroCodec.h"
#include "macro/MacroFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto model = static_cast<DeviceModel>(data[0] % kDeviceModelCount);
    const std::span<const uint8_t> file(data + 1, std::min(size - 1, kMacroFileReadLimit));
    const MacroList list = ParseMacroRecords(model, file);
    const MacroFileFormat& format = FileFormat(model);
    for (const auto& entry : list) {
        if (entry->name.empty() || !IsMacroNameText(entry->name) || entry->name.size() > format.nameChars() ||
            entry->data.size() > format.dataBytes)
            __builtin_trap();
    }
    const MacroList again = ParseMacroRecords(model, SerializeMacroRecords(model, list));
    if (again.size() != list.size()) __builtin_trap();
    const StepNames names = StepNames::FilePage();
    for (size_t i = 0; i < list.size(); ++i) {
        const DecodedMacro before = DecodeMacro(model, list[i].data, names);
        const DecodedMacro after = DecodeMacro(model, again[i].data, names);
        if (again[i].name != list[i].name || after.steps != before.steps || !(after.loop == before.loop))
            __builtin_trap();
    }
    return 0;
}
