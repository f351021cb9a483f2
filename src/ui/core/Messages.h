#pragma once
// Window message numbers. They keep their Windows values so that the device change other processes
// post, the workers' task results (1002-1008, 2000-2005) and the input hooks mean the same
// everywhere.
#include <cstdint>

namespace ui {

enum : uint32_t {
    kWmDestroy = 0x0002,
    kWmClose = 0x0010,
    kWmKeyDown = 0x0100,
    kWmKeyUp = 0x0101,
    kWmChar = 0x0102,
    kWmSysKeyDown = 0x0104,
    kWmSysKeyUp = 0x0105,
    kWmSysCommand = 0x0112,
    kWmTimer = 0x0113,
    kWmMouseMove = 0x0200,
    kWmLButtonDown = 0x0201,
    kWmLButtonUp = 0x0202,
    kWmLButtonDblClk = 0x0203,
    kWmRButtonDown = 0x0204,
    kWmRButtonUp = 0x0205,
    kWmMButtonDown = 0x0207,
    kWmMButtonUp = 0x0208,
    kWmMouseWheel = 0x020A,
    kWmXButtonDown = 0x020B,
    kWmXButtonUp = 0x020C,
    kWmNcLButtonDblClk = 0x00A3,
    kWmDeviceChange = 0x0219,
    kWmUser = 0x0400,
};

enum : uint32_t {
    kScMinimize = 0xF020,
    kScMaximize = 0xF030,
    kScRestore = 0xF120,
};

// Device-change broadcast event code for "the set of devices changed".
constexpr uint32_t kDbtDevNodesChanged = 0x0007;

}  // namespace ui
