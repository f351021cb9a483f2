#pragma once
// The binding's copy of the macros in a Heron (or Heron driver) device, keyed by macro id (the
// macro's address in device memory plus the model's bias). Key labels look names up here, and the
// key editor lays the device's macro memory out anew from it. Guarded: labels are drawn on the UI
// thread while a worker may be reading the device.
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "records/MacroEntry.h"

class HeronMacroCache {
  public:
    std::optional<MacroEntry> Find(int id) const;
    void Put(int id, MacroEntry entry);
    bool Remove(int id);
    void Clear();
    std::vector<int> Ids() const;  // ascending

  private:
    mutable std::mutex mutex_;
    std::map<int, MacroEntry> macros_;
};
