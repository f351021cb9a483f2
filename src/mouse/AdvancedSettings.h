#pragma once
// The report rate options and the desktop pointer settings of a mouse page's advanced page. The
// report rate belongs to the page's record; the pointer settings are the process-wide
// PointerSettings: the record follows every change at once, the desktop a slider's value once the
// slider has settled.
#include <cstdint>

#include "mouse/PageNames.h"
#include "mouse/PointerSettings.h"
#include "ui/core/Notification.h"
#include "ui/core/PaintManager.h"

namespace mouse {

class AdvancedSettings {
  public:
    static constexpr int kReportRates = 4;
    // A pointer slider that has not moved for this long has settled.
    static constexpr uint32_t kSettleMs = 300;

    explicit AdvancedSettings(const PageNames& names) : names_(names) {}
    // A value still settling is applied now.
    ~AdvancedSettings();
    AdvancedSettings(const AdvancedSettings&) = delete;
    AdvancedSettings& operator=(const AdvancedSettings&) = delete;

    // Selects option reportRate + 1 without a notification.
    void ShowReportRate(ui::PaintManager& manager, int reportRate);
    // A report rate option was chosen: `reportRate` takes its index and `changed` is set.
    bool HandleReportRate(const ui::Notification& n, int& reportRate, bool& changed);

    void ShowPointer(ui::PaintManager& manager, const PointerValues& values,
                     ui::Notify notify = ui::Notify::No);
    // The pointer controls: a box's change is applied at once, a slider's once it settles.
    bool HandlePointer(ui::PaintManager& manager, const ui::Notification& n);

  private:
    void StartSettling();
    // Stops the settle timer; true when a value was waiting for it.
    bool StopSettling();
    void ApplyNow(const PointerValues& values);

    const PageNames& names_;
    uint64_t settleTimer_ = 0;  // a backend timer; 0 when no slider value waits
};

}  // namespace mouse
