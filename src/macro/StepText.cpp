#include "macro/StepText.h"

#include <cstdio>

namespace {

std::string Hex(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(value) & 0xFFu);
    return buffer;
}

std::string Prefix(const EncodingSpec& spec, StepIcon icon) {
    return "{x 4}{i " + std::string(spec.iconImage) + " 18 " + std::to_string(static_cast<int>(icon)) +
           "}{x 4}";
}

// Mouse pages name buttons by tag. Button 4 (0xA8) is the first extra button, the one a back click
// records, so it takes the "back" text; button 5 the "forward" text.
std::string ButtonByTag(int tag) {
    switch (tag) {
        case 0xA1:
        case 0x21:
            return "%{054}";
        case 0xA2:
        case 0x22:
            return "%{055}";
        case 0xA4:
        case 0x24:
            return "%{056}";
        case 0xA8:
        case 0x28:
            return "%{079}";
        case 0xB0:
        case 0x30:
            return "%{078}";
    }
    return Hex(tag);
}

// The keyboard names buttons by code: 0x10 is the first extra button there.
std::string ButtonByCode(int code) {
    switch (code) {
        case 0x01:
            return "%{054}";
        case 0x02:
            return "%{055}";
        case 0x04:
            return "%{056}";
        case 0x08:
            return "%{078}";
        case 0x10:
            return "%{079}";
    }
    return Hex(code);
}

std::string KeyWords(const StepNames& names, int code) {
    if (names.keyName) {
        std::string name = names.keyName(code & 0xFF);
        if (!name.empty()) return name;
    }
    return Hex(code);
}

std::string ModifierWords(const StepNames& names, int bit) {
    auto it = names.modifierNames.find(bit & 0xFF);
    return it != names.modifierNames.end() ? it->second : Hex(bit);
}

}  // namespace

StepNames StepNames::FilePage() {
    return {nullptr, {{0x01, "Control"}, {0x02, "Shift"}, {0x04, "Menu"}, {0x08, "LWin"}, {0x80, "RWin"}}};
}

StepNames StepNames::FolderPage() {
    return {nullptr, {{0x01, "Control"}, {0x02, "Shift"}, {0x04, "Alt"}, {0x08, "LWin"}, {0x80, "RWin"}}};
}

int PackMove(int x, int y) {
    return ((x & 0xFF) << 8) | (y & 0xFF);
}
int MoveX(int packed) {
    return static_cast<int8_t>((packed >> 8) & 0xFF);
}
int MoveY(int packed) {
    return static_cast<int8_t>(packed & 0xFF);
}

std::string StepText(const EncodingSpec& spec, const Opcode& op, int value, const StepNames& names,
                     MoveAxis axis) {
    switch (op.kind) {
        case OpKind::ModifierPress:
            return Prefix(spec, StepIcon::Press) + ModifierWords(names, value);
        case OpKind::ModifierRelease:
            return Prefix(spec, StepIcon::Release) + ModifierWords(names, value);
        case OpKind::KeyPress:
            return Prefix(spec, StepIcon::Press) + KeyWords(names, value);
        case OpKind::KeyRelease:
            return Prefix(spec, StepIcon::Release) + KeyWords(names, value);
        case OpKind::ButtonPress:
            return Prefix(spec, StepIcon::Press) + ButtonByTag(op.tag);
        case OpKind::ButtonRelease:
            return Prefix(spec, StepIcon::Release) + ButtonByTag(op.tag);
        case OpKind::CodePress:
            return Prefix(spec, StepIcon::Press) + ButtonByCode(value);
        case OpKind::CodeRelease:
            return Prefix(spec, StepIcon::Release) + ButtonByCode(value);
        case OpKind::MoveXY:
            return Prefix(spec, StepIcon::Movement) + "X: " + std::to_string(MoveX(value)) +
                   "  Y: " + std::to_string(MoveY(value));
        case OpKind::MoveX:
            return Prefix(spec, StepIcon::Movement) + "X: " + std::to_string(value);
        case OpKind::MoveY:
            return Prefix(spec, StepIcon::Movement) + "Y: " + std::to_string(value);
        case OpKind::MoveRows:
            return Prefix(spec, StepIcon::Movement) + (axis == MoveAxis::X ? "X " : "Y ") +
                   std::to_string(value);
        case OpKind::Delay:
            return Prefix(spec, StepIcon::Delay) + std::to_string(value) + " ms";
        default:
            break;
    }
    return {};
}

std::string StepText(DeviceModel model, int tag, int value, const StepNames& names, MoveAxis axis) {
    const EncodingSpec& spec = EncodingFor(model);
    const Opcode* op = FindOpcode(spec, static_cast<uint8_t>(tag));
    if (!op || tag < 0 || tag > 0xFF) return {};
    return StepText(spec, *op, value, names, axis);
}

MacroStep MakeStep(DeviceModel model, int tag, int value, const StepNames& names, MoveAxis axis) {
    return {tag, value, StepText(model, tag, value, names, axis)};
}
