#include "device/DeviceTaskPage.h"

std::string WorkResultText(WorkReport report, bool ok, bool connected, const std::string& failureText) {
    if (report == WorkReport::None) return {};
    if (!ok && !failureText.empty()) return failureText;
    switch (report) {
        case WorkReport::None:
            break;
        case WorkReport::Write:
            // A failed write keeps the page's hint until a write succeeds: the same words.
            return ok ? "%{675}" : connected ? "%{520}" : "%{521}";
        case WorkReport::Save:
            return ok ? "%{676}" : "%{680}";
        case WorkReport::Load:
            return ok ? "%{677}" : "%{679}";
        case WorkReport::Reset:
            return ok ? "%{678}" : "%{679}";
    }
    return {};
}
