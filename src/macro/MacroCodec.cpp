#include "macro/MacroCodec.h"

#include <algorithm>

#include "macro/MacroEncoding.h"
#include "macro/StepText.h"

namespace {

constexpr uint8_t kCheckXor = 0x5A;

// The keyboard's stop and continue entries are fixed three-byte sequences, not a tag with operands.
bool IsWholeEntry(const Opcode& op, std::span<const uint8_t> bytes) {
    if (op.kind != OpKind::LoopStop && op.kind != OpKind::LoopContinue) return true;
    return bytes[1] == 0x05 && bytes[2] == 0xFF;
}

// Calls `visit(op, bytes)` for every whole known entry in [begin, end); unknown bytes advance one.
// A terminator ends the walk.
template <class Visit>
void Walk(const EncodingSpec& spec, std::span<const uint8_t> data, size_t begin, size_t end, Visit&& visit) {
    end = std::min(end, data.size());
    size_t offset = begin;
    while (offset < end) {
        const Opcode* op = FindOpcode(spec, data[offset]);
        if (!op) {
            ++offset;
            continue;
        }
        if (op->kind == OpKind::Terminator) return;
        if (op->length > end - offset) break;  // cut off at the end of the data
        const auto bytes = data.subspan(offset, op->length);
        if (!IsWholeEntry(*op, bytes)) {
            ++offset;
            continue;
        }
        visit(*op, bytes);
        offset += op->length;
    }
}

bool IsStep(OpKind kind) {
    switch (kind) {
        case OpKind::Loop:
        case OpKind::LoopStop:
        case OpKind::LoopContinue:
        case OpKind::End:
        case OpKind::Terminator:
            return false;
        default:
            return true;
    }
}

LoopMode SupportedMode(const EncodingSpec& spec, LoopMode mode) {
    if (spec.hasMode(mode)) return mode;
    if (mode == LoopMode::Continuous && spec.hasMode(LoopMode::Continue)) return LoopMode::Continue;
    if (mode == LoopMode::StopOnAnyKey && spec.hasMode(LoopMode::Stop)) return LoopMode::Stop;
    if (mode == LoopMode::Continue && spec.hasMode(LoopMode::Continuous)) return LoopMode::Continuous;
    return LoopMode::Count;
}

std::vector<uint8_t> LoopBytes(const EncodingSpec& spec, const LoopSettings& loop) {
    const LoopMode mode = SupportedMode(spec, loop.mode);
    const int count = std::clamp(loop.count, 1, spec.maxLoopCount);
    switch (spec.encoding) {
        case MacroEncoding::Terminated:
            return {0xFD, static_cast<uint8_t>(mode == LoopMode::Count ? count : 0)};
        case MacroEncoding::TerminatedStop:
            if (mode == LoopMode::Continue) return {};
            if (mode == LoopMode::StopOnAnyKey) return {0xFD, 0x7F};
            if (mode == LoopMode::Stop) return {0xFD, 0x80};
            return {0xFD, static_cast<uint8_t>(count)};
        case MacroEncoding::Counted:
        case MacroEncoding::Counted16:
            return {0xFD, static_cast<uint8_t>(mode == LoopMode::Count ? count - 1 : 0xFF)};
        case MacroEncoding::Keyboard:
            if (mode == LoopMode::Stop) return {0x07, 0x05, 0xFF};
            if (mode == LoopMode::Continue) return {0x08, 0x05, 0xFF};
            return {0x05, static_cast<uint8_t>(count - 1)};
    }
    return {};
}

void ApplyLoop(const EncodingSpec& spec, const Opcode& op, std::span<const uint8_t> bytes,
               LoopSettings& loop) {
    if (op.kind == OpKind::LoopStop) {
        loop.mode = LoopMode::Stop;
        return;
    }
    if (op.kind == OpKind::LoopContinue) {
        loop.mode = LoopMode::Continue;
        return;
    }
    const int n = bytes[1];
    switch (spec.encoding) {
        case MacroEncoding::Terminated:
            loop.mode = n == 0 ? LoopMode::Continuous : LoopMode::Count;
            if (n != 0) loop.count = n;
            break;
        case MacroEncoding::TerminatedStop:
            if (n >= 1 && n <= 0x7E) {
                loop.mode = LoopMode::Count;
                loop.count = n;
            } else {
                loop.mode = n == 0x7F   ? LoopMode::StopOnAnyKey
                            : n == 0x80 ? LoopMode::Stop
                                        : LoopMode::Continue;
            }
            break;
        case MacroEncoding::Counted:
        case MacroEncoding::Counted16:
            loop.mode = n == 0xFF ? LoopMode::Continuous : LoopMode::Count;
            if (n != 0xFF) loop.count = n + 1;
            break;
        case MacroEncoding::Keyboard:
            loop.mode = LoopMode::Count;
            loop.count = n + 1;
            break;
    }
}

// Largest pause one delay entry holds, in milliseconds.
int64_t DelayPiece(const EncodingSpec& spec) {
    return int64_t{spec.maxDelayCount} * spec.delayUnit;
}

void AppendDelay(const EncodingSpec& spec, const Opcode& op, int64_t ms, std::vector<uint8_t>& out) {
    ms = std::max<int64_t>(ms, 0);
    if (op.length == 2) {  // Heron family: one byte of 8 ms units
        out.push_back(op.tag);
        out.push_back(static_cast<uint8_t>(std::min<int64_t>(ms / spec.delayUnit, spec.maxDelayCount)));
        return;
    }
    do {
        const int64_t piece = std::min(ms, DelayPiece(spec));
        out.push_back(op.tag);
        out.push_back(static_cast<uint8_t>(piece >> 8));
        out.push_back(static_cast<uint8_t>(piece));
        ms -= piece;
    } while (ms > 0);
}

uint8_t SignedByte(int value) {
    return static_cast<uint8_t>(std::clamp(value, -128, 127));
}

// Appends the bytes of steps[i]; returns how many rows it used (0 when the step has no bytes).
size_t AppendStep(const EncodingSpec& spec, std::span<const MacroStep> steps, size_t i,
                  std::vector<uint8_t>& out) {
    const MacroStep& step = steps[i];
    const Opcode* op =
        step.tag >= 0 && step.tag <= 0xFF ? FindOpcode(spec, static_cast<uint8_t>(step.tag)) : nullptr;
    if (!op || !IsStep(op->kind)) return 0;
    const auto low = static_cast<uint8_t>(step.value);
    switch (op->kind) {
        case OpKind::ButtonPress:
        case OpKind::ButtonRelease:
            out.push_back(op->tag);
            return 1;
        case OpKind::MoveXY:
            out.insert(out.end(), {op->tag, static_cast<uint8_t>(step.value >> 8), low});
            return 1;
        case OpKind::MoveX:
        case OpKind::MoveY:
            out.insert(out.end(), {op->tag, SignedByte(step.value)});
            return 1;
        case OpKind::MoveRows: {
            // The X row carries the Y row after it; an X row without one moves along X only.
            const bool hasY = i + 1 < steps.size() && steps[i + 1].tag == op->tag;
            out.insert(out.end(),
                       {op->tag, SignedByte(step.value), SignedByte(hasY ? steps[i + 1].value : 0)});
            return hasY ? 2 : 1;
        }
        case OpKind::Delay:
            AppendDelay(spec, *op, step.value, out);
            return 1;
        default:
            out.insert(out.end(), {op->tag, low});
            return 1;
    }
}

// Entry lengths the stored data field is trimmed with. They differ from the decoder's on purpose:
// 03 and 83 take an operand byte on the device although no step shows them.
size_t TrimEntryLength(uint8_t tag) {
    switch (tag) {
        case 0x01:
        case 0x02:
        case 0x03:
        case 0x81:
        case 0x82:
        case 0x83:
        case 0xFD:
            return 2;
        case 0x04:
        case 0xFE:
            return 3;
        default:
            return 1;
    }
}

// Bytes after the steps: the end marker and the terminator or check byte.
size_t TrailerBytes(const EncodingSpec& spec) {
    return spec.encoding == MacroEncoding::Keyboard ? 1 : 2;
}

}  // namespace

std::vector<uint8_t> EncodeMacro(DeviceModel model, std::span<const MacroStep> steps,
                                 const LoopSettings& loop) {
    const EncodingSpec& spec = EncodingFor(model);
    std::vector<uint8_t> out;
    if (spec.hasEndMode()) {
        out.push_back(loop.end == EndMode::Stop ? 1 : 0);
        out.resize(spec.headerBytes, 0);  // length, set below
    }
    const std::vector<uint8_t> loopBytes = LoopBytes(spec, loop);
    out.insert(out.end(), loopBytes.begin(), loopBytes.end());

    std::vector<uint8_t> piece;
    for (size_t i = 0; i < steps.size();) {
        piece.clear();
        const size_t rows = AppendStep(spec, steps, i, piece);
        if (out.size() + piece.size() + TrailerBytes(spec) > spec.dataArea) break;
        out.insert(out.end(), piece.begin(), piece.end());
        i += std::max<size_t>(rows, 1);
    }

    switch (spec.encoding) {
        case MacroEncoding::Terminated:
        case MacroEncoding::TerminatedStop:
            out.insert(out.end(), {0xFC, 0x00});
            break;
        case MacroEncoding::Keyboard:
            out.push_back(0x06);
            break;
        case MacroEncoding::Counted:
        case MacroEncoding::Counted16: {
            out.push_back(0xFC);
            const size_t length = out.size() - spec.headerBytes + 1;
            if (spec.headerBytes == 3) {
                out[1] = static_cast<uint8_t>(length >> 8);
                out[2] = static_cast<uint8_t>(length);
            } else {
                out[1] = static_cast<uint8_t>(length);
            }
            unsigned sum = 0;
            for (size_t k = 1; k < out.size(); ++k) sum += out[k];
            out.push_back(static_cast<uint8_t>((sum & 0xFF) ^ kCheckXor));
            break;
        }
    }
    return out;
}

std::optional<LoopMode> ModeWithoutLoopEntry(DeviceModel model) {
    if (EncodingFor(model).encoding == MacroEncoding::TerminatedStop) return LoopMode::Continue;
    return std::nullopt;
}

DecodedMacro DecodeMacro(DeviceModel model, std::span<const uint8_t> data, const StepNames& names,
                         LoopSettings start) {
    const EncodingSpec& spec = EncodingFor(model);
    DecodedMacro result;
    result.loop = start;
    if (auto implied = ModeWithoutLoopEntry(model)) {
        result.loop.mode = *implied;
        result.loopSettled = true;
    }
    if (data.size() < 2 || data.size() < spec.headerBytes) return result;

    size_t end = data.size();
    if (spec.hasEndMode()) {
        result.loop.end = data[0] == 1 ? EndMode::Stop : EndMode::Continue;
        result.endSettled = true;
        const size_t length = spec.headerBytes == 3 ? (size_t{data[1]} << 8) | data[2] : data[1];
        end = std::min(end, length + 1);
    }
    Walk(spec, data, spec.headerBytes, end, [&](const Opcode& op, std::span<const uint8_t> bytes) {
        if (!IsStep(op.kind)) {
            if (op.kind != OpKind::End) {
                ApplyLoop(spec, op, bytes, result.loop);
                result.hasLoopEntry = result.loopSettled = true;
            }
            return;
        }
        auto add = [&](int value, MoveAxis axis = MoveAxis::X) {
            result.steps.push_back({op.tag, value, StepText(spec, op, value, names, axis)});
        };
        switch (op.kind) {
            case OpKind::ButtonPress:
            case OpKind::ButtonRelease:
                add(op.tag);
                break;
            case OpKind::MoveXY:
                add((bytes[1] << 8) | bytes[2]);
                break;
            case OpKind::MoveX:
            case OpKind::MoveY:
                add(static_cast<int8_t>(bytes[1]));
                break;
            case OpKind::MoveRows:
                add(static_cast<int8_t>(bytes[1]), MoveAxis::X);
                add(static_cast<int8_t>(bytes[2]), MoveAxis::Y);
                break;
            case OpKind::Delay:
                add(op.length == 3 ? (bytes[1] << 8) | bytes[2] : bytes[1] * spec.delayUnit);
                break;
            default:
                add(bytes[1]);
                break;
        }
    });
    return result;
}

bool FitsInMacro(DeviceModel model, std::span<const MacroStep> steps, const LoopSettings& loop,
                 int extraBytes) {
    const EncodingSpec& spec = EncodingFor(model);
    const LoopMode mode = SupportedMode(spec, loop.mode);
    int64_t total = 0;
    switch (spec.encoding) {
        case MacroEncoding::Terminated:
            total = 5;
            break;
        case MacroEncoding::TerminatedStop:
            total = mode == LoopMode::Continue ? 2 : 4;
            break;
        case MacroEncoding::Counted:
            total = 13;
            break;
        case MacroEncoding::Counted16:
            total = 5;
            break;
        case MacroEncoding::Keyboard:
            total = mode == LoopMode::Count ? 2 : mode == LoopMode::Stop ? 4 : 3;
            break;
    }
    std::vector<uint8_t> piece;
    for (size_t i = 0; i < steps.size();) {
        piece.clear();
        i += std::max<size_t>(AppendStep(spec, steps, i, piece), 1);
        total += static_cast<int64_t>(piece.size());
    }
    return total + extraBytes < spec.fitsLimit;
}

std::vector<uint8_t> TrimMacroData(DeviceModel model, std::span<const uint8_t> field) {
    const EncodingSpec& spec = EncodingFor(model);
    switch (spec.encoding) {
        case MacroEncoding::Terminated:
        case MacroEncoding::TerminatedStop: {
            for (size_t offset = 0; offset < field.size(); offset += TrimEntryLength(field[offset]))
                if (field[offset] == 0x00)
                    return {field.begin(), field.begin() + static_cast<std::ptrdiff_t>(offset + 1)};
            return {};
        }
        case MacroEncoding::Counted: {
            if (field.size() < 2) return {field.begin(), field.end()};
            const size_t keep = std::min(field.size(), size_t{field[1]} + 2);
            return {field.begin(), field.begin() + static_cast<std::ptrdiff_t>(keep)};
        }
        case MacroEncoding::Counted16:
        case MacroEncoding::Keyboard:
            break;
    }
    return {field.begin(), field.end()};
}

std::vector<MacroStep> MakeDelaySteps(DeviceModel model, int64_t ms, const StepNames& names) {
    const EncodingSpec& spec = EncodingFor(model);
    const Opcode* op = FirstOpcodeOf(spec, OpKind::Delay);
    std::vector<MacroStep> steps;
    auto add = [&](int64_t value) {
        const int v = static_cast<int>(value);
        steps.push_back({op->tag, v, StepText(spec, *op, v, names)});
    };
    ms = std::max<int64_t>(ms, 0);
    if (op->length == 2) {
        const int64_t piece = DelayPiece(spec);
        add(std::min(ms, piece) / spec.delayUnit * spec.delayUnit);
        return steps;
    }
    do {
        const int64_t piece = std::min(ms, DelayPiece(spec));
        add(piece);
        ms -= piece;
    } while (ms > 0);
    return steps;
}
