#pragma once
// What a device page offers the device tasks. The page prepares each unit of work on the UI
// thread — taking a copy of what will be written, or an empty record a read will fill — the worker
// runs it, and the page finishes it on the UI thread, where it swaps results in and refreshes.
// Workers never touch controls or the page's live record.
#include <functional>
#include <memory>

#include "records/DeviceModel.h"

class PageWork {
public:
    virtual ~PageWork() = default;
    // Worker thread: device I/O on the work's own data only. True when every call succeeded.
    virtual bool Run() = 0;
    // UI thread, after the task: take the results in. `ok` is what Run returned (false when the
    // task never ran it).
    virtual void Finish(bool ok) = 0;
};

class DeviceTaskPage {
public:
    virtual ~DeviceTaskPage() = default;
    virtual DeviceModel TaskModel() const = 0;
    // Whether the device answered the last read (the page's `connected` flag).
    virtual bool IsConnected() const = 0;
    // Open the device and read its whole configuration.
    virtual std::unique_ptr<PageWork> ReadDevice() = 0;
    // Write what `operation` names (the keyboard page ignores the code: it writes everything).
    virtual std::unique_ptr<PageWork> Perform(int operation) = 0;
    // Open the connected device again, to learn whether it is still there.
    virtual std::unique_ptr<PageWork> Reopen() = 0;
};

// Work given as two functions: `run` on the worker, `finish` on the UI thread.
class FunctionWork final : public PageWork {
public:
    FunctionWork(std::function<bool()> run, std::function<void(bool)> finish)
        : run_(std::move(run)), finish_(std::move(finish)) {}
    bool Run() override { return run_ ? run_() : true; }
    void Finish(bool ok) override {
        if (finish_) finish_(ok);
    }

private:
    std::function<bool()> run_;
    std::function<void(bool)> finish_;
};
