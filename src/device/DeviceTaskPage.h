#pragma once
// What a device page offers the device tasks. The page prepares each unit of work on the UI
// thread — taking a copy of what will be written, or an empty record a read will fill — the worker
// runs it, and the page finishes it on the UI thread, where it swaps results in and refreshes.
// Workers never touch controls or the page's live record.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "records/DeviceModel.h"

// What a finished work tells the user on its page's status line: whether the write, the save to a
// file, the load of a file or the restore of the defaults reached the device.
enum class WorkReport : uint8_t { None, Write, Save, Load, Reset };

// The text reference a status line shows for a finished work: `failureText` when the work failed
// and named its reason, else the general words for `report`, `ok` and whether the device still
// answers. Empty for WorkReport::None.
std::string WorkResultText(WorkReport report, bool ok, bool connected, const std::string& failureText);

class PageWork {
  public:
    virtual ~PageWork() = default;
    // Worker thread: device I/O on the work's own data only. True when every call succeeded.
    virtual bool Run() = 0;
    // UI thread, after the task: take the results in. `ok` is what Run returned (false when the
    // task never ran it).
    virtual void Finish(bool ok) = 0;
    // UI thread, after Finish: work the page wants run next (a failed write asks for a re-read).
    virtual std::unique_ptr<PageWork> FollowUp(bool ok) { return nullptr; }

    // What the work writes (operation and target). A waiting work of the same page with the same
    // key is replaced by a later one; work without a key (file operations) is never replaced.
    const std::optional<std::string>& MergeKey() const { return mergeKey_; }
    void SetMergeKey(std::string key) { mergeKey_ = std::move(key); }

    // What the page's status line says once the work has finished; None says nothing.
    WorkReport Report() const { return report_; }
    void SetReport(WorkReport report) { report_ = report; }
    // Why the work failed, a text reference; empty when the general words fit. Set from Run (the
    // worker's own copy) or Finish; the finish path reads it after Finish.
    const std::string& FailureText() const { return failureText_; }
    void SetFailureText(std::string text) { failureText_ = std::move(text); }

  private:
    std::optional<std::string> mergeKey_;
    WorkReport report_ = WorkReport::None;
    std::string failureText_;
};

class DeviceTaskPage {
  public:
    virtual ~DeviceTaskPage() = default;
    virtual DeviceModel TaskModel() const = 0;
    // Whether the device answered the last read (the page's `connected` flag).
    virtual bool IsConnected() const = 0;
    // Open the device and read its whole configuration.
    virtual std::unique_ptr<PageWork> ReadDevice() = 0;
    // The write `operation` names: the oldest request the page prepared for it when the user acted,
    // or, when there is none (a request from elsewhere), one prepared now. The keyboard page
    // ignores the code: it writes everything.
    std::unique_ptr<PageWork> Perform(int operation) {
        for (auto it = prepared_.begin(); it != prepared_.end(); ++it) {
            if (it->first != operation) continue;
            auto work = std::move(it->second);
            prepared_.erase(it);
            return work;
        }
        return PrepareWrite(operation);
    }
    // Open the connected device again, to learn whether it is still there.
    virtual std::unique_ptr<PageWork> Reopen() = 0;
    // UI thread, once a work with a report has finished (after its Finish): tells the user whether
    // it reached the device, in `WorkResultText`'s words. A page with a status line shows it there
    // for a while; the default shows nothing.
    virtual void ShowWorkResult(WorkReport report, bool ok, const std::string& failureText) {}

  protected:
    // UI thread: a copy of what `operation` writes, taken from the page as it is now.
    virtual std::unique_ptr<PageWork> PrepareWrite(int operation) = 0;
    // Call when the user acts, before the write request goes out: the request then writes what the
    // page holds at this moment, whatever happens before it is served.
    void KeepPreparedWrite(int operation) { prepared_.emplace_back(operation, PrepareWrite(operation)); }

  private:
    std::deque<std::pair<int, std::unique_ptr<PageWork>>> prepared_;
};

// Work given as functions: `run` on the worker, `finish` on the UI thread, then `followUp`.
class FunctionWork final : public PageWork {
  public:
    using FollowUpFn = std::function<std::unique_ptr<PageWork>(bool ok)>;
    FunctionWork(std::function<bool()> run, std::function<void(bool)> finish, FollowUpFn followUp = nullptr)
        : run_(std::move(run)), finish_(std::move(finish)), followUp_(std::move(followUp)) {}
    bool Run() override { return run_ ? run_() : true; }
    void Finish(bool ok) override {
        if (finish_) finish_(ok);
    }
    std::unique_ptr<PageWork> FollowUp(bool ok) override { return followUp_ ? followUp_(ok) : nullptr; }
    // For a finish that needs the work itself (to set its failure text).
    void SetFinish(std::function<void(bool)> finish) { finish_ = std::move(finish); }

  private:
    std::function<bool()> run_;
    std::function<void(bool)> finish_;
    FollowUpFn followUp_;
};
