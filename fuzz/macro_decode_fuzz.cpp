// Fuzz target for the macro decoders: the first byte picks the model, the rest is macro data.
// Decoding must never crash or read outside the data; encoding what was decoded must stay within
// the model's data area and decode back to the same steps (or a prefix, when they did not fit).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "macro/MacroCodec.h"
#include "macro/MacroEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto model = static_cast<DeviceModel>(data[0] % kDeviceModelCount);
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    StepNames names = StepNames::FolderPage();
    names.keyName = [](int code) {
        return code % 3 ? std::string("K") + std::to_string(code) : std::string();
    };

    TrimMacroData(model, bytes);
    const DecodedMacro decoded = DecodeMacro(model, bytes, names);
    FitsInMacro(model, decoded.steps, decoded.loop, 3);
    const auto encoded = EncodeMacro(model, decoded.steps, decoded.loop);
    if (encoded.size() > EncodingFor(model).dataArea) __builtin_trap();

    const DecodedMacro again = DecodeMacro(model, encoded, names);
    if (again.steps.size() > decoded.steps.size()) __builtin_trap();
    for (size_t i = 0; i < again.steps.size(); ++i)
        if (!(again.steps[i] == decoded.steps[i])) __builtin_trap();
    return 0;
}
