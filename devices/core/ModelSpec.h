#pragma once
// Everything that makes one simulated model differ from another, as data.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/Field.h"
#include "core/ImageBytes.h"

namespace sim {

struct ModelSpec {
    const char* name;         // "Egret"; names the state file
    const char* libraryFile;  // "Lumenor_Egret.so"
    uint16_t vid;
    uint16_t pid;
    uint32_t imageSize;
    std::array<uint8_t, 4> signature;  // first bytes of every image of this model
    // Staged models keep a library-side copy of the device memory: setters change the copy and the
    // transfer entry points move it to or from the device.
    bool staged;
    bool syncCacheOnOpen;  // staged models whose open re-reads the device (the keyboard)
    int profiles;          // device-side profile count...
    int variantProfiles;   // ...and the count when the variant (device kind) is nonzero
    int stageBase;         // 1 when the current stage is one-based
    int keysPerProfile;
    int fireMacros;         // fire-macro slots...
    int variantFireMacros;  // ...and the count when the variant is nonzero
    std::span<const Field> fields;
    void (*factory)(Image& image, int preset);                    // preset 1 is the factory state
    int presets;                                                  // number of default configurations
    void (*describeExtra)(const Image& image, std::string& out);  // macros and the like; may be null
    // Model-specific checks of a configuration image before it replaces the memory (the macro
    // records, say); may be null.
    bool (*validImage)(const Image& image);
};

}  // namespace sim
