#include "assign/AssignmentLabel.h"

#include <cstddef>

#include "assign/AssignmentClasses.h"
#include "assign/FamilyETraits.h"
#include "assign/FireMacroMemory.h"
#include "assign/KeyCodes.h"
#include "assign/Utf16.h"
#include "device/ModelTable.h"
#include "ui/text/TextTable.h"

namespace assign {
namespace {

constexpr uint8_t kWinBit = 0x08;
constexpr uint8_t kKeyD = 0x07;
constexpr uint8_t kReservedMacroHighH = 0;
constexpr uint8_t kReservedMacroLowH = 0xF0;

// A class labelled by one text, alone or by the value of byte 1 under a mask (mask 0: any byte 1).
struct FixedLabel {
    uint8_t cls;
    uint8_t mask;
    uint8_t value;
    const char* text;
};

constexpr FixedLabel kFixedLabelsE[] = {
    {0, 0, 0, "%{095}"},    {4, 0xFF, 1, "%{119}"},    {4, 0xFF, 2, "%{120}"},    {4, 0xFF, 3, "%{121}"},
    {5, 0, 0, "%{093}"},    {7, 0x87, 0x80, "%{115}"}, {7, 0x87, 0x81, "%{116}"}, {7, 0x87, 0x82, "%{127}"},
    {8, 0xFF, 0, "%{092}"}, {8, 0xFF, 1, "%{129}"},    {9, 0xFF, 0, "%{089}"},    {9, 0xFF, 1, "%{090}"},
    {9, 0xFF, 2, "%{091}"}, {10, 0xFF, 0, "%{125}"},   {10, 0xFF, 1, "%{126}"},   {12, 0, 0, "%{128}"},
    {14, 0, 0, "%{094}"},
};

constexpr FixedLabel kFixedLabelsH[] = {
    {0, 0, 0, "%{095}"},
    {5, 0, 0, "%{089}"},
    {7, 0, 0, "%{090}"},
    {8, 0, 0, "%{091}"},
    {9, 0, 0, "%{092}"},
    {10, 0, 0, "%{093}"},
    {13, 0, 0, "%{098}"},
    {15, 0, 0, "%{096}"},
    {16, 0, 0, "%{094}"},
    // Fire macros: entries 6 and 7 share one gun's label, 8 to 10 another's.
    {12, 0xFF, 1, "%{100}"},
    {12, 0xFF, 2, "%{101}"},
    {12, 0xFF, 3, "%{102}"},
    {12, 0xFF, 4, "%{103}"},
    {12, 0xFF, 5, "%{104}"},
    {12, 0xFF, 6, "%{105}"},
    {12, 0xFF, 7, "%{105}"},
    {12, 0xFF, 8, "%{106}"},
    {12, 0xFF, 9, "%{106}"},
    {12, 0xFF, 10, "%{106}"},
};

struct ButtonLabel {
    uint8_t bit;
    const char* text;
};
constexpr ButtonLabel kMouseButtons[] = {
    {1, "%{054}"}, {2, "%{055}"}, {4, "%{056}"}, {8, "%{079}"}, {16, "%{078}"},
};

struct ConsumerLabel {
    uint8_t high;
    uint8_t low;
    const char* text;
};
constexpr ConsumerLabel kConsumerUsages[] = {
    {0, 0xB5, "%{019}"}, {0, 0xB6, "%{020}"}, {0, 0xB7, "%{021}"}, {0, 0xCD, "%{022}"}, {0, 0xE2, "%{023}"},
    {0, 0xE9, "%{024}"}, {0, 0xEA, "%{025}"}, {1, 0x8A, "%{027}"}, {1, 0x92, "%{028}"}, {1, 0x94, "%{029}"},
    {2, 0x21, "%{030}"}, {2, 0x23, "%{031}"}, {2, 0x24, "%{032}"}, {2, 0x25, "%{033}"}, {2, 0x26, "%{034}"},
    {2, 0x27, "%{035}"}, {2, 0x2A, "%{036}"},
};

std::string Text(const char* reference) {
    return ui::TextTable::Instance().Resolve(reference);
}

template <std::size_t N>
const char* FindFixed(const FixedLabel (&table)[N], uint8_t cls, uint8_t byte1) {
    for (const FixedLabel& row : table)
        if (row.cls == cls && (byte1 & row.mask) == row.value) return row.text;
    return nullptr;
}

std::string MouseButtonLabel(uint8_t byte1) {
    for (const ButtonLabel& row : kMouseButtons)
        if (row.bit == byte1) return Text(row.text);
    return {};
}

std::string ConsumerLabelOf(uint8_t high, uint8_t low) {
    for (const ConsumerLabel& row : kConsumerUsages)
        if (row.high == high && row.low == low) return Text(row.text);
    return {};
}

// Modifier prefixes, then the key's name; a missing name drops the prefix's trailing "+".
std::string KeyCombination(uint8_t modifiers, uint8_t key) {
    std::string label;
    if (modifiers & 0x01) label += "Ctrl+";
    if (modifiers & 0x02) label += "Shift+";
    if (modifiers & 0x04) label += "Alt+";
    if (modifiers & 0x08) label += "Win+";
    const std::string name = KeyName(key);
    if (name.empty()) {
        if (!label.empty()) label.pop_back();
    } else {
        label += name;
    }
    return label;
}

uint8_t ContinuousFlag(const FamilyETraits& traits, uint8_t byte1) {
    if (traits.continuousRule == ContinuousRule::Bit7) return byte1 >> 7;
    return (byte1 >> 4) != 1 ? 1 : 0;
}

std::string FireKeyLabel(const FamilyETraits& traits, FamilyEConfig& config, uint8_t byte1, uint8_t byte2,
                         uint8_t byte3) {
    static constexpr const char* kPresetTexts[] = {"%{122}", "%{123}", "%{124}"};
    const int shots = byte1 & 0x0F;
    const int interval = byte2 * 256 + byte3;
    for (std::size_t i = 0; i < config.rapidFire.size(); ++i) {
        RapidFireSlot& preset = config.rapidFire[i];
        if (preset.count != shots) continue;
        if (traits.presetRule == FirePresetRule::TakeInterval) {
            preset.interval = interval;
            if (interval == 0) continue;
        } else if (preset.interval != interval) {
            continue;
        }
        preset.continuous = ContinuousFlag(traits, byte1);
        return Text(kPresetTexts[i]);
    }
    return {};
}

std::string FireMacroLabel(const FamilyETraits& traits, uint8_t byte1) {
    if (traits.customGunLabel && byte1 == traits.customGunByte1) return Text(traits.customGunLabel);
    // Gun codes 0 to 7, with or without the keep-left flag (bit 4).
    if ((byte1 & ~0x17u) != 0) return {};
    const char* text = traits.gunLabels[byte1 & 0x07];
    return text ? Text(text) : std::string();
}

std::string MacroLabelE(const FamilyETraits& traits, const FamilyEConfig& config, uint8_t byte1,
                        uint8_t byte2) {
    for (const ReservedMacroCode& reserved : traits.ReservedMacros())
        if (reserved.byte1 == byte1 && (!reserved.byte2 || *reserved.byte2 == byte2)) return Text("%{130}");
    const int id = byte1 * 256 + byte2;
    for (const auto& macro : config.macros)
        if (macro->id == id) return Utf8FromUtf16(macro->name);
    return {};
}

}  // namespace

std::string AssignmentLabel(DeviceModel model, FamilyEConfig& config, uint8_t byte0, uint8_t byte1,
                            uint8_t byte2, uint8_t byte3) {
    const FamilyETraits* traits = FamilyETraitsOf(model);
    if (!traits) return {};
    switch (byte0) {
        case kMouseButton:
            return MouseButtonLabel(byte1);
        case kKeyboardKey: {
            if (byte1 == kWinBit && byte2 == kKeyD && byte3 == 0) return Text("%{099}");
            // A single key sits in byte 3 with byte 2 empty: no joining "+" in front of it.
            std::string label = KeyCombination(byte1, byte2);
            const std::string second = KeyName(byte3);
            if (!second.empty()) label += label.empty() ? second : "+" + second;
            return label;
        }
        case kConsumer:
            return ConsumerLabelOf(byte1, byte2);
        case kFireKeyE:
            return FireKeyLabel(*traits, config, byte1, byte2, byte3);
        case kFireMacroE:
            SetRememberedFireMacroByte(model, byte3);
            return FireMacroLabel(*traits, byte1);
        case kMacroE:
            return MacroLabelE(*traits, config, byte1, byte2);
        default: {
            const char* text = FindFixed(kFixedLabelsE, byte0, byte1);
            return text ? Text(text) : std::string();
        }
    }
}

std::string AssignmentLabel(DeviceModel model, uint8_t byte0, uint8_t byte1, uint8_t byte2,
                            DeviceLibraryBinding& binding) {
    if (RowOf(model).family != ModelFamily::H) return {};
    switch (byte0) {
        case kMouseButton:
            return MouseButtonLabel(byte1);
        case kKeyboardKey:
            if (byte1 == kWinBit && byte2 == kKeyD) return Text("%{099}");
            return KeyCombination(byte1, byte2);
        case kConsumer:
            return ConsumerLabelOf(byte1, byte2);
        case kMacroH:
        case kMacroAltH: {
            if (byte1 == kReservedMacroHighH && byte2 == kReservedMacroLowH) return Text("%{097}");
            const std::optional<MacroEntry> macro = binding.CachedMacro(model, byte1 * 256 + byte2);
            return macro ? Utf8FromUtf16(macro->name) : std::string();
        }
        default: {
            const char* text = FindFixed(kFixedLabelsH, byte0, byte1);
            return text ? Text(text) : std::string();
        }
    }
}

std::string AssignmentLabel(DeviceModel model, uint8_t byte0, uint8_t byte1, uint8_t byte2) {
    return AssignmentLabel(model, byte0, byte1, byte2, DeviceLibraryBinding::Instance());
}

}  // namespace assign
