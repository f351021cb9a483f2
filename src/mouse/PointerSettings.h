#pragma once
// The desktop pointer settings every mouse page shows: pointer speed, enhanced precision,
// double-click time and wheel lines. One record for the process, read by the read-all task before
// the pages read their devices, changed and applied at once on the UI thread.
#include <mutex>

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

    // Pointer speed 1..20 and double-click time of a step; steps outside 1..11 take the nearest end.
    static int SpeedOfStep(int step);
    static int DoubleClickTimeOfStep(int step);
    static int StepOfSpeed(int speed);           // speed 0..20; larger speeds have no step (0)
    static int StepOfDoubleClickTime(unsigned ms);

    // Reads the system's values over `values` (fields the system does not give keep theirs).
    static void ReadFromSystem(PointerValues& values);
    // Writes `values` to the registry values and the system.
    static void ApplyToSystem(const PointerValues& values);

    PointerValues Get() const;
    void Set(const PointerValues& values);
    // Reads the system's values into the record.
    void Refresh();
    // Stores `values` and applies them.
    void Apply(const PointerValues& values);

private:
    mutable std::mutex mutex_;  // the read-all worker fills it while the UI thread may look
    PointerValues values_;
};

}  // namespace mouse
