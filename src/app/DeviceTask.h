#pragma once
// Device tasks: one worker thread at a time runs the prepared page work and reports to the main
// window only by posting messages (1002 when done, 2000-2005 when a connected device is gone).
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "device/DeviceTaskPage.h"
#include "ui/core/Window.h"

namespace app {

enum class WorkerKind { ReadAll, Write, Reconnect };

// Pages in task order, the page order of the model table.
inline constexpr int kTaskPageCount = kDeviceModelCount;

// The "lost" message of the page at `index` in task order.
uint32_t LostMessageFor(int index);

struct DeviceTaskJob {
    ui::WindowHandle mainWindow = 0;
    int32_t operation = 0;
    WorkerKind kind = WorkerKind::ReadAll;
    std::array<DeviceTaskPage*, kTaskPageCount> pages{};

    struct Step {
        int pageIndex;
        std::unique_ptr<PageWork> work;
        bool reopen = false;  // a reconnect's check of a connected device
        bool ok = false;      // written by the worker, read on the UI thread after 1002
    };
    std::vector<Step> steps;        // built on the UI thread before the worker starts
    std::atomic<bool> done{false};  // set by the worker just before it posts 1002
};

// The pages a target selector names (0 all, else the page selector - 1), as a mask over task order.
std::array<bool, kTaskPageCount> PagesForSelector(int selector);

// Prepares the steps of `job` on the UI thread from its pages and kind.
void PrepareSteps(DeviceTaskJob& job);

// Worker procedures; each returns 0 after posting 1002.
int ReadAllWorker(DeviceTaskJob& job);
int WriteWorker(DeviceTaskJob& job);
int ReconnectWorker(DeviceTaskJob& job);

}  // namespace app
