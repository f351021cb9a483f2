#pragma once
// The five macro encodings as data: which opcode bytes each knows, how long they are and what they
// mean, plus the few numbers that differ (header, data area, delay unit, space rule). The codec
// walks every encoding with the same code by looking opcodes up here.
#include <cstddef>
#include <cstdint>
#include <span>

#include "macro/LoopSettings.h"
#include "records/DeviceModel.h"

enum class MacroEncoding : uint8_t {
    Terminated,      // Egret, Ibis
    TerminatedStop,  // Crane: terminated, with the stop loop modes
    Counted,         // Heron: end mode, 8-bit length, check byte
    Counted16,       // Heron driver: as Heron with a 16-bit length
    Keyboard,        // Plover
};

enum class OpKind : uint8_t {
    ModifierPress,  // tag, modifier bit
    ModifierRelease,
    KeyPress,  // tag, key code
    KeyRelease,
    ButtonPress,  // the tag byte itself names the button
    ButtonRelease,
    CodePress,  // tag, button code (keyboard)
    CodeRelease,
    MoveXY,  // tag, x, y: one step, value (x << 8) | y
    MoveX,   // tag, signed byte (Heron family)
    MoveY,
    MoveRows,      // tag, x, y: two rows, X then Y (keyboard)
    Delay,         // tag, then the delay in one or two bytes
    Loop,          // loop entry with one argument byte
    LoopStop,      // keyboard "07 05 FF"; 07 followed by anything else is an unknown byte
    LoopContinue,  // keyboard "08 05 FF"; likewise
    End,           // end of steps
    Terminator,    // 00 where a tag is expected (terminated encodings)
};

struct Opcode {
    uint8_t tag;
    uint8_t length;  // bytes including the tag
    OpKind kind;
};

struct EncodingSpec {
    MacroEncoding encoding;
    std::span<const Opcode> opcodes;
    uint8_t headerBytes;    // end mode and length bytes before the entries
    size_t dataArea;        // largest encoded macro
    int delayUnit;          // milliseconds per stored delay count
    int maxDelayCount;      // largest delay count one delay entry holds
    int maxLoopCount;       // largest count in count mode
    int fitsLimit;          // FitsInMacro: total must stay below this
    const char* iconImage;  // icon strip of the step texts
    bool hasMode(LoopMode mode) const;
    bool hasEndMode() const { return headerBytes > 0; }
};

const EncodingSpec& Encoding(MacroEncoding encoding);
MacroEncoding EncodingOf(DeviceModel model);
inline const EncodingSpec& EncodingFor(DeviceModel model) {
    return Encoding(EncodingOf(model));
}

// The opcode with this tag byte, or null for a byte the encoding does not know.
const Opcode* FindOpcode(const EncodingSpec& spec, uint8_t tag);

// Byte of the step with this tag and kind: the first opcode of `kind` (null when the encoding lacks it).
const Opcode* FirstOpcodeOf(const EncodingSpec& spec, OpKind kind);
