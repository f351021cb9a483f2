#pragma once
// Ordered list of owned macros. Entries keep their address while the list changes around them (list
// controls point at them); copying the list copies the entries, so a worker can take a snapshot.
#include <cstddef>
#include <memory>
#include <vector>

#include "records/MacroEntry.h"

class MacroList {
  public:
    MacroList() = default;
    MacroList(const MacroList& other) { *this = other; }
    MacroList(MacroList&&) noexcept = default;
    MacroList& operator=(const MacroList& other) {
        if (this != &other) {
            std::vector<std::unique_ptr<MacroEntry>> copy;
            copy.reserve(other.entries_.size());
            for (const auto& entry : other.entries_) copy.push_back(std::make_unique<MacroEntry>(*entry));
            entries_ = std::move(copy);
        }
        return *this;
    }
    MacroList& operator=(MacroList&&) noexcept = default;

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    MacroEntry& operator[](size_t i) { return *entries_[i]; }
    const MacroEntry& operator[](size_t i) const { return *entries_[i]; }

    MacroEntry& Add(MacroEntry entry) {
        entries_.push_back(std::make_unique<MacroEntry>(std::move(entry)));
        return *entries_.back();
    }
    void RemoveAt(size_t i) {
        if (i < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    void Clear() { entries_.clear(); }

    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

  private:
    std::vector<std::unique_ptr<MacroEntry>> entries_;
};
