#pragma once
// Encoding a step list into a model's macro bytes and decoding it back, the space rule of the
// recorder and the trimming of a stored data field to the encoded macro. Every encoding goes through
// the same walking code, driven by the tables of MacroEncoding.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "macro/LoopSettings.h"
#include "macro/MacroStep.h"
#include "macro/StepNames.h"
#include "records/DeviceModel.h"

struct DecodedMacro {
    std::vector<MacroStep> steps;
    LoopSettings loop;          // the starting settings, changed by what the data holds
    bool hasLoopEntry = false;  // the data held a loop entry
    // The data settles the loop mode: it held a loop entry, or its encoding gives the lack of one a
    // meaning (the Crane: continue).
    bool loopSettled = false;
    // The data held the end-mode byte (Heron family).
    bool endSettled = false;
};

// The loop mode a macro without a loop entry has, where its encoding gives it one (the Crane:
// continue); it is also the mode before any macro is decoded.
std::optional<LoopMode> ModeWithoutLoopEntry(DeviceModel model);

// Builds the model's bytes from the steps and loop settings. Steps of tags the encoding lacks are
// skipped; a delay longer than one entry holds becomes several entries (terminated and keyboard);
// steps that would overflow the model's data area are left out, so the result is always whole.
std::vector<uint8_t> EncodeMacro(DeviceModel model, std::span<const MacroStep> steps,
                                 const LoopSettings& loop);

// Steps and loop settings of `data`. `start` is the page's current setting, kept where the data says
// nothing (the Crane assumes continue before decoding). Never reads outside `data`.
DecodedMacro DecodeMacro(DeviceModel model, std::span<const uint8_t> data, const StepNames& names,
                         LoopSettings start = {});

// Whether `extraBytes` more bytes still fit after the steps with the page's space rule.
bool FitsInMacro(DeviceModel model, std::span<const MacroStep> steps, const LoopSettings& loop,
                 int extraBytes);

// Cuts a stored data field to the encoded macro: counted (Heron) by its length byte, terminated
// (Egret, Ibis, Crane) up to the first terminator at an opcode position (empty without one);
// keyboard and Heron driver fields are kept whole.
std::vector<uint8_t> TrimMacroData(DeviceModel model, std::span<const uint8_t> field);

// Delay steps for a pause of `ms`: split into pieces that each fit one entry on the terminated and
// keyboard encodings (so none of the pause is lost); on the Heron family limited to 2040 ms and
// rounded down to 8 ms.
std::vector<MacroStep> MakeDelaySteps(DeviceModel model, int64_t ms, const StepNames& names);
