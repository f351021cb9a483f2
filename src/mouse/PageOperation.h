#pragma once
// The numbered operations a mouse page asks the write worker to run (lParam of its WRITE request).

namespace mouse {

enum PageOperation : int {
    kOpProfile = 1,
    kOpStages = 2,
    kOpKey = 3,
    kOpRapidFire1 = 4,
    kOpRapidFire2 = 5,
    kOpRapidFire3 = 6,
    kOpReportRate = 7,
    kOpLighting = 8,
    kOpRestoreDefaults = 9,
    kOpSaveFile = 10,
    kOpLoadFile = 11,
    kOpUartLed = 12,
};

}  // namespace mouse
