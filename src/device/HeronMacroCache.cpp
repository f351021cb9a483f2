#include "device/HeronMacroCache.h"

std::optional<MacroEntry> HeronMacroCache::Find(int id) const {
    std::lock_guard lock(mutex_);
    const auto it = macros_.find(id);
    if (it == macros_.end()) return std::nullopt;
    return it->second;
}

void HeronMacroCache::Put(int id, MacroEntry entry) {
    std::lock_guard lock(mutex_);
    entry.id = id;
    macros_[id] = std::move(entry);
}

bool HeronMacroCache::Remove(int id) {
    std::lock_guard lock(mutex_);
    return macros_.erase(id) > 0;
}

void HeronMacroCache::Clear() {
    std::lock_guard lock(mutex_);
    macros_.clear();
}

std::vector<int> HeronMacroCache::Ids() const {
    std::lock_guard lock(mutex_);
    std::vector<int> ids;
    for (const auto& [id, entry] : macros_) ids.push_back(id);
    return ids;
}
