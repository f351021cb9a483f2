#pragma once
// Whether a page holds edits its device does not have yet, for the pages that collect edits until
// the user writes. Every edit starts a new generation; a write remembers the generation it copied,
// and its success clears the state only when no edit came after the copy.
#include <cstdint>

class PendingChanges {
  public:
    void Edited() {
        ++generation_;
        pending_ = true;
    }
    // What a write copies, to hand back to Written.
    uint64_t Generation() const { return generation_; }
    // A write of generation `copied` reached the device.
    void Written(uint64_t copied) {
        if (copied == generation_) pending_ = false;
    }
    // The page was replaced by what the device holds.
    void Clear() {
        ++generation_;
        pending_ = false;
    }
    bool IsPending() const { return pending_; }

  private:
    uint64_t generation_ = 0;
    bool pending_ = false;
};
