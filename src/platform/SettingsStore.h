#pragma once
// The program's own remembered choices (language, last page, last file folder): a few
// "name=value" lines in UserConfigFolder() + "settings.ini". Reading never fails: a missing,
// unreadable, oversized or foreign file reads as holding nothing, and the next write replaces it.
#include <optional>
#include <string>

namespace platform {

class SettingsStore {
  public:
    static std::string FilePath();

    // The value stored under `name` (names compare without regard to case); nullopt when absent.
    static std::optional<std::string> Get(const std::string& name);
    // Stores `value` under `name`, keeping the other values, with one atomic replacement of the
    // file. False when the file cannot be written.
    static bool Set(const std::string& name, const std::string& value);
};

}  // namespace platform
