#pragma once
// The desktop pointer settings every mouse page shows: pointer speed, enhanced precision,
// double-click time and wheel lines. One record for the process, read by the read-all task before
// the pages read their devices, changed on the UI thread and applied behind it.
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace mouse {

struct PointerValues {
    int enhancePrecision = 0;  // 0/1
    int scrollByScreen = 0;    // 0/1
    int doubleClickStep = 6;   // 1 (900 ms) to 11 (200 ms)
    int speedStep = 6;         // 1 to 11
    int wheelLines = 6;

    bool operator==(const PointerValues&) const = default;
};

class PointerSettings {
  public:
    static PointerSettings& Instance();
    ~PointerSettings();

    // Pointer speed 1..20 and double-click time of a step; steps outside 1..11 take the nearest end.
    static int SpeedOfStep(int step);
    static int DoubleClickTimeOfStep(int step);
    static int StepOfSpeed(int speed);  // speed 0..20; larger speeds have no step (0)
    static int StepOfDoubleClickTime(unsigned ms);

    // Reads the system's values over `values` (fields the system does not give keep theirs).
    static void ReadFromSystem(PointerValues& values);
    // Writes `values` to the registry values (one replacement of the settings file) and the system.
    static void ApplyToSystem(const PointerValues& values);

    PointerValues Get() const;
    void Set(const PointerValues& values);
    // Reads the system's values into the record.
    void Refresh();
    // Stores `values` and applies them on a thread of its own: the file's flush and the desktop's
    // services (a display connection, the settings daemon) must not hold up the window. A value
    // not yet applied is replaced by a newer one.
    void Apply(const PointerValues& values);
    // Returns once every value handed to Apply has reached the system.
    void WaitUntilApplied();

  private:
    void ApplyLoop();

    mutable std::mutex mutex_;  // the read-all worker fills it while the UI thread may look
    PointerValues values_;

    std::mutex applyMutex_;
    std::condition_variable applyChanged_;
    std::optional<PointerValues> pending_;
    bool applying_ = false;
    bool stopping_ = false;
    std::thread applier_;  // started by the first Apply
};

}  // namespace mouse
