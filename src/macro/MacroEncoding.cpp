#include "macro/MacroEncoding.h"

#include <array>

namespace {

using K = OpKind;

// clang-format off
// 03 and 83 are left out on purpose: no step shows them, so the decoder skips them one byte at a
// time like any unknown byte and never swallows the step that follows (trimming has its own lengths).
constexpr Opcode kTerminatedOps[] = {
    {0x00, 1, K::Terminator},
    {0x81, 2, K::ModifierPress}, {0x01, 2, K::ModifierRelease},
    {0x82, 2, K::KeyPress},      {0x02, 2, K::KeyRelease},
    {0xA1, 1, K::ButtonPress},   {0xA2, 1, K::ButtonPress},   {0xA4, 1, K::ButtonPress},
    {0xA8, 1, K::ButtonPress},   {0xB0, 1, K::ButtonPress},
    {0x21, 1, K::ButtonRelease}, {0x22, 1, K::ButtonRelease}, {0x24, 1, K::ButtonRelease},
    {0x28, 1, K::ButtonRelease}, {0x30, 1, K::ButtonRelease},
    {0x04, 3, K::MoveXY},
    {0xFE, 3, K::Delay},
    {0xFD, 2, K::Loop},
    {0xFC, 1, K::End},
};

constexpr Opcode kCountedOps[] = {
    {0x81, 2, K::ModifierPress}, {0x01, 2, K::ModifierRelease},
    {0x82, 2, K::KeyPress},      {0x02, 2, K::KeyRelease},
    {0xA1, 1, K::ButtonPress},   {0xA2, 1, K::ButtonPress},   {0xA4, 1, K::ButtonPress},
    {0xA8, 1, K::ButtonPress},   {0xB0, 1, K::ButtonPress},
    {0x21, 1, K::ButtonRelease}, {0x22, 1, K::ButtonRelease}, {0x24, 1, K::ButtonRelease},
    {0x28, 1, K::ButtonRelease}, {0x30, 1, K::ButtonRelease},
    {0xFB, 2, K::MoveX},         {0xFA, 2, K::MoveY},
    {0xFE, 2, K::Delay},
    {0xFD, 2, K::Loop},
    {0xFC, 1, K::End},
};

constexpr Opcode kKeyboardOps[] = {
    {0x81, 2, K::KeyPress},  {0x01, 2, K::KeyRelease},
    {0x82, 2, K::CodePress}, {0x02, 2, K::CodeRelease},
    {0x03, 3, K::MoveRows},
    {0x04, 3, K::Delay},
    {0x05, 2, K::Loop},
    {0x07, 3, K::LoopStop},  {0x08, 3, K::LoopContinue},
    {0x06, 1, K::End},
};
// clang-format on

constexpr const char* kMouseIcons = "Image\\macroicons.png";
constexpr const char* kKeyboardIcons = "macroicons.png";

constexpr std::array<EncodingSpec, 5> kEncodings = {{
    {MacroEncoding::Terminated, kTerminatedOps, 0, 224, 1, 65535, 254, 224, kMouseIcons},
    {MacroEncoding::TerminatedStop, kTerminatedOps, 0, 224, 1, 65535, 126, 224, kMouseIcons},
    {MacroEncoding::Counted, kCountedOps, 2, 224, 8, 255, 254, 224, kMouseIcons},
    {MacroEncoding::Counted16, kCountedOps, 3, 2016, 8, 255, 254, 224, kMouseIcons},
    {MacroEncoding::Keyboard, kKeyboardOps, 0, 144, 1, 65535, 256, 144, kKeyboardIcons},
}};

}  // namespace

bool EncodingSpec::hasMode(LoopMode mode) const {
    switch (encoding) {
        case MacroEncoding::Terminated:
        case MacroEncoding::Counted:
        case MacroEncoding::Counted16:
            return mode == LoopMode::Count || mode == LoopMode::Continuous;
        case MacroEncoding::TerminatedStop:
            return mode != LoopMode::Continuous;
        case MacroEncoding::Keyboard:
            return mode == LoopMode::Count || mode == LoopMode::Stop || mode == LoopMode::Continue;
    }
    return false;
}

const EncodingSpec& Encoding(MacroEncoding encoding) {
    return kEncodings[static_cast<size_t>(encoding)];
}

MacroEncoding EncodingOf(DeviceModel model) {
    // What each model's device stores, in DeviceModel order.
    static constexpr std::array<MacroEncoding, kDeviceModelCount> kByModel = {
        MacroEncoding::Keyboard,        // Plover
        MacroEncoding::Counted,         // Heron
        MacroEncoding::Terminated,      // Egret
        MacroEncoding::Terminated,      // Ibis
        MacroEncoding::TerminatedStop,  // Crane
        MacroEncoding::Counted16,       // Heron driver
    };
    const auto index = static_cast<size_t>(model);
    return index < kByModel.size() ? kByModel[index] : MacroEncoding::Terminated;
}

const Opcode* FindOpcode(const EncodingSpec& spec, uint8_t tag) {
    for (const Opcode& op : spec.opcodes)
        if (op.tag == tag) return &op;
    return nullptr;
}

const Opcode* FirstOpcodeOf(const EncodingSpec& spec, OpKind kind) {
    for (const Opcode& op : spec.opcodes)
        if (op.kind == kind) return &op;
    return nullptr;
}
