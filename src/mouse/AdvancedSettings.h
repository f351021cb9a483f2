#pragma once
// The report rate options and the desktop pointer settings of a mouse page's advanced page. The
// report rate belongs to the page's record; the pointer settings are the process-wide
// PointerSettings, applied at once when the user changes them.
#include "mouse/PageNames.h"
#include "mouse/PointerSettings.h"
#include "ui/core/Notification.h"
#include "ui/core/PaintManager.h"

namespace mouse {

class AdvancedSettings {
public:
    static constexpr int kReportRates = 4;

    explicit AdvancedSettings(const PageNames& names) : names_(names) {}

    // Selects option reportRate + 1 without a notification.
    void ShowReportRate(ui::PaintManager& manager, int reportRate);
    // A report rate option was chosen: `reportRate` takes its index and `changed` is set.
    bool HandleReportRate(const ui::Notification& n, int& reportRate, bool& changed);

    void ShowPointer(ui::PaintManager& manager, const PointerValues& values, ui::Notify notify = ui::Notify::No);
    // The pointer controls: the change goes to PointerSettings and the desktop at once.
    bool HandlePointer(ui::PaintManager& manager, const ui::Notification& n);

private:
    const PageNames& names_;
};

}  // namespace mouse
