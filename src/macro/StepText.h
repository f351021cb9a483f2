#pragma once
// Builds the display text of a step: the icon of its kind from the model's icon strip, then its
// words, in the list-row markup the step list draws.
#include <string>

#include "macro/MacroEncoding.h"
#include "macro/MacroStep.h"
#include "macro/StepNames.h"

enum class StepIcon : int { Delay = 0, Release = 1, Press = 2, Movement = 3 };
enum class MoveAxis : uint8_t { X, Y };

// Text of a step of `op` with `value`; `axis` names the row of a keyboard movement.
std::string StepText(const EncodingSpec& spec, const Opcode& op, int value, const StepNames& names,
                     MoveAxis axis = MoveAxis::X);

// Text of a step of `tag` in `model`'s encoding; empty for a tag that makes no step.
std::string StepText(DeviceModel model, int tag, int value, const StepNames& names,
                     MoveAxis axis = MoveAxis::X);

// A step with its text filled in.
MacroStep MakeStep(DeviceModel model, int tag, int value, const StepNames& names,
                   MoveAxis axis = MoveAxis::X);

// Packs a movement of the terminated encodings into a step value, and back.
int PackMove(int x, int y);
int MoveX(int packed);
int MoveY(int packed);
