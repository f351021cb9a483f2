#include "macro/MacroRecorder.h"

#include <algorithm>
#include <array>

#include "assign/KeyCodes.h"
#include "macro/MacroCodec.h"
#include "macro/MarcoListUI.h"
#include "macro/StepText.h"
#include "platform/Clock.h"
#include "ui/core/InputHooks.h"
#include "ui/core/Messages.h"

namespace {

// Display names of left, right, middle, button 4 and button 5, as the step texts show them.
constexpr std::array<const char*, 5> kButtonNames{"%{054}", "%{055}", "%{056}", "%{079}", "%{078}"};

// Modifier bit of a virtual key; 0 for every other key.
int ModifierBit(uint32_t vk) {
    switch (vk) {
        case 0xA2:
        case 0xA3:
            return 0x01;
        case 0xA0:
        case 0xA1:
            return 0x02;
        case 0xA4:
        case 0xA5:
            return 0x04;
        case 0x5B:
            return 0x08;
        case 0x5C:
            return 0x80;
    }
    return 0;
}

int CounterKey(int pressTag, int value) {
    return (pressTag << 8) | (value & 0xFF);
}

}  // namespace

PressCounters& PressCounters::Shared() {
    static PressCounters counters;
    return counters;
}

MacroRecorder::MacroRecorder(const MacroPageSpec& spec, Host& host) : spec_(spec), host_(host) {
    hook_ = ui::InputHooks::Install(
        [this](uint32_t message, uint32_t vk, int32_t data) { OnInput(message, vk, data); });
}

MacroRecorder::~MacroRecorder() = default;

void MacroRecorder::Start() {
    PressCounters::Shared().Clear();
    pointerOver_ = true;
    state_ = RecordState::Started;
}

bool MacroRecorder::Stop() {
    state_ = RecordState::Idle;
    MarcoListUI* list = host_.StepList();
    return list && BalancePresses(*list, PressCounters::Shared(), spec_);
}

std::vector<MacroStep> MacroRecorder::Steps(const MarcoListUI& list) const {
    std::vector<MacroStep> steps;
    for (int i = 0; i < list.RowCount(); ++i)
        if (auto* row = list.RowAt(i)) steps.push_back({row->tag, row->value, row->text});
    return steps;
}

void MacroRecorder::Append(MarcoListUI& list, const MacroStep& step) {
    if (auto* row = list.AddRow(step.text)) {
        row->tag = step.tag;
        row->value = step.value;
        list.EnsureVisible(list.RowCount() - 1);
    }
}

bool MacroRecorder::Record(MarcoListUI& list, const MacroStep& event) {
    const uint64_t now = platform::CurrentClock().NowMs();
    std::vector<MacroStep> pieces;
    if (state_ == RecordState::Capturing && delayMode_ != DelayMode::None) {
        int64_t ms = delayMode_ == DelayMode::Fixed
                         ? int64_t{host_.FixedDelay()} * spec_.delayFieldUnit
                         : static_cast<int64_t>(now - lastEventMs_) / std::max(1, spec_.recordedDelayDivisor);
        pieces = MakeDelaySteps(spec_.model, ms, host_.Names());
    }
    pieces.push_back(event);
    // A long pause is several delay steps: each must find room, or the encoder would leave the last
    // ones out while the list still showed them. The event goes with its pause or not at all.
    std::vector<MacroStep> steps = Steps(list);
    for (const MacroStep& piece : pieces) {
        if (!FitsInMacro(spec_.model, steps, host_.Loop(), spec_.recordSpace)) return false;
        steps.push_back(piece);
    }
    for (const MacroStep& piece : pieces) Append(list, piece);
    lastEventMs_ = now;
    state_ = RecordState::Capturing;
    return true;
}

void MacroRecorder::OnInput(uint32_t message, uint32_t vk, int32_t data) {
    if (state_ == RecordState::Idle) return;
    switch (message) {
        case ui::kWmKeyDown:
        case ui::kWmSysKeyDown:
            return OnKey(true, vk);
        case ui::kWmKeyUp:
        case ui::kWmSysKeyUp:
            return OnKey(false, vk);
        default:
            break;
    }
    // The record button's own clicks are never captured.
    if (pointerOver_) return;
    switch (message) {
        case ui::kWmLButtonDown:
        case ui::kWmLButtonUp:
            return OnButton(message == ui::kWmLButtonDown, 0);
        case ui::kWmRButtonDown:
        case ui::kWmRButtonUp:
            return OnButton(message == ui::kWmRButtonDown, 1);
        case ui::kWmMButtonDown:
        case ui::kWmMButtonUp:
            return OnButton(message == ui::kWmMButtonDown, 2);
        case ui::kWmXButtonDown:
        case ui::kWmXButtonUp:
            return OnButton(message == ui::kWmXButtonDown, ((data >> 16) & 0xFFFF) == 1 ? 3 : 4);
        default:
            return;
    }
}

void MacroRecorder::OnKey(bool press, uint32_t vk) {
    MarcoListUI* list = host_.StepList();
    if (!list) return;
    const int bit = spec_.modifiersAsKeys ? 0 : ModifierBit(vk);
    const int code = bit ? bit : assign::KeyCodeFromVirtualKey(vk);
    // A key without a key code cannot be played back by the mouse.
    if (code == 0) return;
    const int pressTag = bit ? spec_.modifierPressTag : spec_.keyPressTag;
    const int tag = press ? pressTag : (bit ? spec_.modifierReleaseTag : spec_.keyReleaseTag);
    if (!Record(*list, MakeStep(spec_.model, tag, code, host_.Names()))) return;
    auto& counters = PressCounters::Shared();
    ++(press ? counters.keyPresses : counters.keyReleases)[CounterKey(pressTag, code)];
}

void MacroRecorder::OnButton(bool press, int button) {
    MarcoListUI* list = host_.StepList();
    if (!list) return;
    const ButtonTags& tags = spec_.buttons[static_cast<size_t>(button)];
    const int tag = press ? tags.press : tags.release;
    const size_t b = static_cast<size_t>(button);
    const int value = press ? spec_.PressValue(b) : spec_.ReleaseValue(b);
    if (!Record(*list, MakeStep(spec_.model, tag, value, host_.Names()))) return;
    auto& counters = PressCounters::Shared();
    ++(press ? counters.buttonPresses : counters.buttonReleases)[kButtonNames[static_cast<size_t>(button)]];
}

bool MacroRecorder::BalancePresses(MarcoListUI& list, const PressCounters& counters,
                                   const MacroPageSpec& spec) {
    bool removed = false;
    // Removes the `missing` latest rows that `matches`.
    auto removeLatest = [&](int missing, auto&& matches) {
        for (int i = list.RowCount() - 1; i >= 0 && missing > 0; --i) {
            auto* row = list.RowAt(i);
            if (row && matches(*row)) {
                list.RemoveRow(i);
                --missing;
                removed = true;
            }
        }
    };
    for (const auto& [key, presses] : counters.keyPresses) {
        auto it = counters.keyReleases.find(key);
        int missing = presses - (it == counters.keyReleases.end() ? 0 : it->second);
        removeLatest(missing, [key = key](const MarcoListUI::Row& row) {
            return CounterKey(row.tag, row.value) == key;
        });
    }
    for (const auto& [name, presses] : counters.buttonPresses) {
        auto it = counters.buttonReleases.find(name);
        int missing = presses - (it == counters.buttonReleases.end() ? 0 : it->second);
        int pressTag = 0;
        for (size_t b = 0; b < kButtonNames.size(); ++b)
            if (name == kButtonNames[b]) pressTag = spec.buttons[b].press;
        int value = 0;
        for (size_t b = 0; b < kButtonNames.size(); ++b)
            if (name == kButtonNames[b]) value = spec.PressValue(b);
        removeLatest(missing, [pressTag, value](const MarcoListUI::Row& row) {
            return row.tag == pressTag && row.value == value;
        });
    }
    return removed;
}
