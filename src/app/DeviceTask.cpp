#include "app/DeviceTask.h"

#include "device/ModelTable.h"
#include "mouse/PointerSettings.h"
#include "platform/Clock.h"

namespace app {
namespace {

void Finished(DeviceTaskJob& job) {
    job.done = true;
    ui::WindowImplBase::PostMessageTo(job.mainWindow, 1002);
}

void RunSteps(DeviceTaskJob& job) {
    for (auto& step : job.steps) step.ok = step.work && step.work->Run();
}

}  // namespace

uint32_t LostMessageFor(int index) {
    const ModelRow* row = RowAtPage(index);
    return row ? row->lostMessage : 0;
}

std::array<bool, kTaskPageCount> PagesForSelector(int selector) {
    std::array<bool, kTaskPageCount> mask{};
    if (selector == 0)
        mask.fill(true);
    else if (selector >= 1 && selector <= kTaskPageCount)
        mask[static_cast<size_t>(selector - 1)] = true;
    return mask;
}

// The desktop pointer settings every mouse page shows, read into a copy on the worker and taken in
// on the UI thread before the pages take their records.
std::unique_ptr<PageWork> PointerSettingsWork() {
    auto values = std::make_shared<mouse::PointerValues>(mouse::PointerSettings::Instance().Get());
    return std::make_unique<FunctionWork>(
        [values] {
            mouse::PointerSettings::ReadFromSystem(*values);
            return true;
        },
        [values](bool) { mouse::PointerSettings::Instance().Set(*values); });
}

void PrepareSteps(DeviceTaskJob& job) {
    job.steps.clear();
    // Not a page: its index is outside the task order, so it never names a lost device.
    if (job.kind == WorkerKind::ReadAll) job.steps.push_back(DeviceTaskJob::Step{-1, PointerSettingsWork()});
    for (int i = 0; i < kTaskPageCount; ++i) {
        DeviceTaskPage* page = job.pages[static_cast<size_t>(i)];
        if (!page) continue;
        DeviceTaskJob::Step step{i, nullptr};
        switch (job.kind) {
            case WorkerKind::ReadAll:
                step.work = page->ReadDevice();
                break;
            case WorkerKind::Write:
                step.work = page->Perform(job.operation);
                break;
            case WorkerKind::Reconnect:
                step.reopen = page->IsConnected();
                step.work = step.reopen ? page->Reopen() : page->ReadDevice();
                break;
        }
        job.steps.push_back(std::move(step));
    }
}

int ReadAllWorker(DeviceTaskJob& job) {
    RunSteps(job);  // the pointer settings first, then the pages

    Finished(job);
    return 0;
}

int WriteWorker(DeviceTaskJob& job) {
    RunSteps(job);
    Finished(job);
    return 0;
}

int ReconnectWorker(DeviceTaskJob& job) {
    for (auto& step : job.steps) {
        if (step.reopen) {
            step.ok = step.work && step.work->Run();
            if (!step.ok) ui::WindowImplBase::PostMessageTo(job.mainWindow, LostMessageFor(step.pageIndex));
            continue;
        }
        // Some devices need a moment after they appear before they answer a read.
        if (const ModelRow* row = RowAtPage(step.pageIndex); row && row->settleMs)
            platform::CurrentClock().SleepMs(row->settleMs);
        step.ok = step.work && step.work->Run();
    }
    Finished(job);
    return 0;
}

}  // namespace app
