// The Plover keyboard: two profiles of 216-byte key tables, two LED blocks and six macro slots in a
// 2048-byte memory. Writes are staged and take effect on Device_ReloadDevice.
#include <cstring>

#include "core/MacroMemory.h"
#include "device/DeviceIds.h"
#include "models/Models.h"

namespace sim {
namespace {

using K = FieldKind;
using F = FieldId;

constexpr uint32_t kKeyTable0 = 80;        // default key codes of profile 0 sit here...
constexpr uint32_t kKeyTableStride = 224;  // ...and profile 1's at 304
constexpr uint32_t kMacroBase = 528;
constexpr uint32_t kMacroStride = 176;
// An LED block per profile: effect, speed, brightness, and the sync flag, which is 1 when the
// keyboard shows the same lighting whatever profile is active (0: each profile its own).
constexpr uint32_t kLedBase = 8;
constexpr uint8_t kSynchronised = 1;

constexpr Field kPloverFields[] = {
    {F::Profile, "profile", K::Int, 4, 1, 1, 0, 0, 1},
    {F::LedBlock, "ledBlock", K::Bytes, kLedBase, 4, 2, 4},
    {F::KeyTable, "keyTable", K::Bytes, kKeyTable0, 216, 2, kKeyTableStride},
    {F::MacroName, "macroName", K::Bytes, kMacroBase, 32, kPloverMacroSlots, kMacroStride},
    {F::MacroEvents, "macroEvents", K::Bytes, kMacroBase + 32, 144, kPloverMacroSlots, kMacroStride},
};

// A full-size keyboard, row by row: Esc, F1-F12, Print Screen, Scroll Lock, Pause; the number row;
// the letter rows; modifiers and space; navigation block; arrows; numeric pad.
constexpr uint8_t kDefaultKeys[] = {
    0x29, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47,
    0x48, 0x35, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x2A,
    0x2B, 0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13, 0x2F, 0x30, 0x31, 0x39,
    0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F, 0x33, 0x34, 0x28, 0x82, 0x1D, 0x1B,
    0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38, 0x92, 0x81, 0x88, 0x84, 0x2C, 0x94, 0x7E,
    0x65, 0x91, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x52, 0x50, 0x51, 0x4F, 0x53, 0x54, 0x55,
    0x56, 0x5F, 0x60, 0x61, 0x57, 0x5C, 0x5D, 0x5E, 0x59, 0x5A, 0x5B, 0x58, 0x62, 0x63,
};
static_assert(sizeof kDefaultKeys <= 152, "the key table holds 152 keys");

void PloverFactory(Image& m, int) {
    std::fill(m.begin(), m.end(), 0);
    m[0] = 'L', m[1] = 'M', m[2] = 'P', m[3] = 1;
    const uint8_t led[2][4] = {{0, 3, 4, 0}, {2, 5, 4, 1}};
    std::memcpy(m.data() + kLedBase, led, sizeof led);
    for (uint32_t profile = 0; profile < 2; ++profile) {
        uint8_t* table = m.data() + kKeyTable0 + profile * kKeyTableStride;
        std::memcpy(table, kDefaultKeys, sizeof kDefaultKeys);
        for (int fn = 0; fn < 12; ++fn) table[184 + fn] = static_cast<uint8_t>(0xA0 + fn);  // media keys
    }
}

void DescribeMacros(const Image& m, std::string& out) {
    for (uint32_t profile = 0; profile < 2; ++profile) {
        const uint8_t* led = m.data() + kLedBase + 4 * profile;
        out += "  lighting " + std::to_string(profile) + ": effect " + std::to_string(led[0]) + ", speed " +
               std::to_string(led[1]) + ", brightness " + std::to_string(led[2]) +
               (led[3] == kSynchronised ? ", synchronised\n" : ", own\n");
    }
    for (int slot = 0; slot < kPloverMacroSlots; ++slot) {
        const uint8_t* name = m.data() + kMacroBase + kMacroStride * slot;
        if (DeviceNameText(name, 32).empty()) continue;
        out += "  macro slot " + std::to_string(slot) + ": \"" + DeviceNameText(name, 32) + "\"\n";
    }
}

}  // namespace

const ModelSpec kPloverSpec{"Plover",
                            "Lumenor_Plover.so",
                            kLumenorVid,
                            kPloverPid,
                            2048,
                            {'L', 'M', 'P', 1},
                            true,
                            true,
                            2,
                            0,
                            0,
                            0,
                            0,
                            0,
                            kPloverFields,
                            PloverFactory,
                            1,
                            DescribeMacros,
                            nullptr};

}  // namespace sim
