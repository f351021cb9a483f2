#include "platform/SettingsStore.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/Paths.h"
#include "platform/SettingsText.h"

namespace platform {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// A settings file is a few hundred bytes; anything much larger is not ours.
constexpr size_t kMaxFileBytes = 16 * 1024;

std::mutex& StoreMutex() {
    static std::mutex mutex;
    return mutex;
}

using settings_text::SameName;
using settings_text::Trim;

// Control bytes (other than tab) never occur in a line we wrote: such a line is someone else's.
bool PlainLine(const std::string& line) {
    return std::none_of(line.begin(), line.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && u != '\t') || u == 0x7F;
    });
}

Entries Load() {
    Entries entries;
    auto bytes = ReadFileBytes(SettingsStore::FilePath(), kMaxFileBytes + 1);
    if (!bytes || bytes->size() > kMaxFileBytes) return entries;
    std::string text(bytes->begin(), bytes->end());
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == '#' || line[0] == ';' || !PlainLine(line)) continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        std::string name = Trim(line.substr(0, equals));
        std::string value = Trim(line.substr(equals + 1));
        auto same = [&](const auto& e) { return SameName(e.first, name); };
        auto it = std::find_if(entries.begin(), entries.end(), same);
        if (it != entries.end())
            it->second = value;  // the last line of a name wins
        else
            entries.emplace_back(std::move(name), std::move(value));
    }
    return entries;
}

// Names and values stay on one line each, and a name holds no '='.
std::string Clean(std::string s, bool name) {
    std::replace_if(
        s.begin(), s.end(),
        [name](char c) {
            auto u = static_cast<unsigned char>(c);
            return u < 0x20 || u == 0x7F || (name && c == '=');
        },
        ' ');
    return Trim(s);
}

}  // namespace

std::string SettingsStore::FilePath() {
    return UserConfigFolder() + "settings.ini";
}

std::optional<std::string> SettingsStore::Get(const std::string& name) {
    std::lock_guard lock(StoreMutex());
    for (const auto& [key, value] : Load())
        if (SameName(key, name)) return value;
    return std::nullopt;
}

bool SettingsStore::Set(const std::string& rawName, const std::string& rawValue) {
    const std::string name = Clean(rawName, true);
    if (name.empty()) return false;
    std::lock_guard lock(StoreMutex());
    Entries entries = Load();
    auto it =
        std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return SameName(e.first, name); });
    if (it != entries.end())
        it->second = Clean(rawValue, false);
    else
        entries.emplace_back(name, Clean(rawValue, false));
    std::string text = "# Oakridge remembers these choices between runs.\n";
    for (const auto& [key, value] : entries) text += key + "=" + value + "\n";
    if (!CreateFolderTree(UserConfigFolder())) return false;
    return WriteFileAtomic(FilePath(), text);
}

}  // namespace platform
