#pragma once
// Records keys and mouse buttons into a macro page's step list through the toolkit's input hooks.
// One per page; its hooks live as long as the page and record only while recording. The press
// and release counters are shared by all pages (one page records at a time) and let stopping drop
// the presses of keys and buttons still held, so a macro never ends with a key down.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "macro/LoopSettings.h"
#include "macro/MacroPageSpec.h"
#include "macro/MacroStep.h"
#include "macro/StepNames.h"
#include "ui/core/PaintManager.h"

class MarcoListUI;

enum class RecordState { Idle = 0, Started = 1, Capturing = 2 };
enum class DelayMode { Record = 0, Fixed = 1, None = 2 };

// Counts of pressed and released keys and buttons since the last start, for every page.
struct PressCounters {
    // Keys by press tag and value (tag << 8 | value), so a modifier bit never meets a key code.
    std::map<int, int> keyPresses;
    std::map<int, int> keyReleases;
    // Buttons by their display name.
    std::map<std::string, int> buttonPresses;
    std::map<std::string, int> buttonReleases;

    void Clear() { *this = {}; }
    static PressCounters& Shared();
};

class MacroRecorder {
  public:
    // What the page lends the recorder.
    class Host {
      public:
        virtual ~Host() = default;
        virtual MarcoListUI* StepList() = 0;
        virtual LoopSettings Loop() = 0;
        virtual const StepNames& Names() = 0;
        // The delay field's number, in the field's unit.
        virtual int FixedDelay() = 0;
    };

    MacroRecorder(const MacroPageSpec& spec, Host& host);
    ~MacroRecorder();
    MacroRecorder(const MacroRecorder&) = delete;
    MacroRecorder& operator=(const MacroRecorder&) = delete;

    RecordState State() const { return state_; }
    bool IsRecording() const { return state_ != RecordState::Idle; }
    DelayMode GetDelayMode() const { return delayMode_; }
    void SetDelayMode(DelayMode mode) { delayMode_ = mode; }
    void SetPointerOverButton(bool over) { pointerOver_ = over; }
    bool PointerOverButton() const { return pointerOver_; }

    // Empties the counters; the pointer is on the record button that started it.
    void Start();
    // Stops and drops the presses still held; true when it removed any step.
    bool Stop();

    // The hook procedures.
    void OnInput(uint32_t message, uint32_t vk, int32_t data);

    // Removes the latest press steps of keys and buttons pressed more often than released.
    static bool BalancePresses(MarcoListUI& list, const PressCounters& counters, const MacroPageSpec& spec);

  private:
    void OnKey(bool press, uint32_t vk);
    void OnButton(bool press, int button);
    // Appends `event` with the pause before it; false, appending nothing, when they do not fit.
    bool Record(MarcoListUI& list, const MacroStep& event);
    void Append(MarcoListUI& list, const MacroStep& step);
    std::vector<MacroStep> Steps(const MarcoListUI& list) const;

    const MacroPageSpec& spec_;
    Host& host_;
    RecordState state_ = RecordState::Idle;
    DelayMode delayMode_ = DelayMode::Record;
    uint64_t lastEventMs_ = 0;
    bool pointerOver_ = false;
    ui::ListenerHandle hook_;
};
