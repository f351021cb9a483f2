#include "platform/PointerSettingsStore.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "platform/Paths.h"
#include "platform/SettingsText.h"

namespace platform {
namespace {

// The file is small text: "[key]" lines, then "name=value" lines. Names compare without regard to
// case, as the registry's do.
using Values = PointerSettingsStore::Values;
using Keys = std::vector<std::pair<std::string, Values>>;

constexpr size_t kMaxFileBytes = 64 * 1024;

std::mutex& StoreMutex() {
    static std::mutex mutex;
    return mutex;
}

std::mutex& DesktopMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<PointerDesktop>& DesktopSlot() {
    static std::shared_ptr<PointerDesktop> desktop;
    return desktop;
}

using settings_text::SameName;
using settings_text::Trim;

// Keeps names and values on one line of the file.
std::string OneLine(std::string s) {
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return s;
}

Keys Load() {
    Keys keys;
    auto bytes = ReadFileBytes(PointerSettingsStore::FilePath(), kMaxFileBytes);
    if (!bytes) return keys;
    std::istringstream in(std::string(bytes->begin(), bytes->end()));
    std::string line;
    Values* current = nullptr;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            keys.emplace_back(line.substr(1, line.size() - 2), Values{});
            current = &keys.back().second;
            continue;
        }
        size_t equals = line.find('=');
        if (!current || equals == std::string::npos) continue;  // not ours: skipped, not fatal
        current->emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return keys;
}

bool Save(const Keys& keys) {
    std::string text = "; Desktop pointer settings of Oakridge, by registry key and value name.\n";
    for (const auto& [key, values] : keys) {
        text += "[" + OneLine(key) + "]\n";
        for (const auto& [name, value] : values) text += OneLine(name) + "=" + OneLine(value) + "\n";
    }
    if (!CreateFolderTree(UserConfigFolder())) return false;
    return WriteFileAtomic(PointerSettingsStore::FilePath(), text);
}

Values* FindKey(Keys& keys, const std::string& key) {
    for (auto& [name, values] : keys)
        if (SameName(name, key)) return &values;
    return nullptr;
}

std::optional<int> QueryNumber(const std::string& key, const std::string& name) {
    auto text = PointerSettingsStore::QueryValue(key, name);
    if (!text || text->empty()) return std::nullopt;
    char* end = nullptr;
    long value = std::strtol(text->c_str(), &end, 10);
    if (end == text->c_str() || value < -100000 || value > 100000) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

void SetPointerDesktop(std::shared_ptr<PointerDesktop> desktop) {
    std::lock_guard lock(DesktopMutex());
    DesktopSlot() = std::move(desktop);
}

std::shared_ptr<PointerDesktop> CurrentPointerDesktop() {
    std::lock_guard lock(DesktopMutex());
    if (!DesktopSlot()) DesktopSlot() = MakeSystemPointerDesktop();
    return DesktopSlot();
}

std::string PointerSettingsStore::FilePath() {
    return UserConfigFolder() + "pointer-settings.ini";
}

bool PointerSettingsStore::KeyExists(const std::string& key) {
    std::lock_guard lock(StoreMutex());
    Keys keys = Load();
    return FindKey(keys, key) != nullptr;
}

std::optional<std::string> PointerSettingsStore::QueryValue(const std::string& key, const std::string& name) {
    std::lock_guard lock(StoreMutex());
    Keys keys = Load();
    if (Values* values = FindKey(keys, key))
        for (const auto& [valueName, value] : *values)
            if (SameName(valueName, name)) return value;
    return std::nullopt;
}

bool PointerSettingsStore::SetValues(const std::string& key, const Values& newValues) {
    return SetKeys({{key, newValues}});
}

bool PointerSettingsStore::SetKeys(const std::vector<std::pair<std::string, Values>>& changes) {
    std::lock_guard lock(StoreMutex());
    Keys keys = Load();
    for (const auto& [key, newValues] : changes) {
        Values* values = FindKey(keys, key);
        if (!values) {
            keys.emplace_back(key, Values{});
            values = &keys.back().second;
        }
        // A named pair, not a structured binding: clang before 16 cannot capture those in a lambda.
        for (const auto& change : newValues) {
            const std::string& name = change.first;
            auto it = std::find_if(values->begin(), values->end(),
                                   [&](const auto& v) { return SameName(v.first, name); });
            if (it != values->end())
                it->second = change.second;
            else
                values->emplace_back(name, change.second);
        }
    }
    return Save(keys);
}

bool PointerSettingsStore::GetMouse(std::array<int, 3>& values) {
    bool on = false;
    if (CurrentPointerDesktop()->GetAcceleration(on)) {
        values = on ? std::array<int, 3>{6, 10, 1} : std::array<int, 3>{0, 0, 0};
        return true;
    }
    values = {QueryNumber(kMouseKey, "MouseThreshold1").value_or(0),
              QueryNumber(kMouseKey, "MouseThreshold2").value_or(0),
              QueryNumber(kMouseKey, "MouseSpeed").value_or(0)};
    return true;
}

bool PointerSettingsStore::GetMouseSpeed(int& speed) {
    if (CurrentPointerDesktop()->GetSpeed(speed)) return true;
    speed = QueryNumber(kMouseKey, "MouseSensitivity").value_or(10);
    return true;
}

bool PointerSettingsStore::SetMouse(const std::array<int, 3>& values) {
    if (CurrentPointerDesktop()->SetAcceleration(values[2] != 0)) return true;
    return SetValues(kMouseKey, {{"MouseSpeed", std::to_string(values[2])},
                                 {"MouseThreshold1", std::to_string(values[0])},
                                 {"MouseThreshold2", std::to_string(values[1])}});
}

bool PointerSettingsStore::SetMouseSpeed(int speed) {
    if (CurrentPointerDesktop()->SetSpeed(speed)) return true;
    return SetValues(kMouseKey, {{"MouseSensitivity", std::to_string(speed)}});
}

bool PointerSettingsStore::SetDoubleClickTime(int ms) {
    if (CurrentPointerDesktop()->SetDoubleClickTime(ms)) return true;
    return SetValues(kMouseKey, {{"DoubleClickSpeed", std::to_string(ms)}});
}

bool PointerSettingsStore::SetWheelScrollLines(int lines) {
    if (CurrentPointerDesktop()->SetWheelScrollLines(lines)) return true;
    return SetValues(kDesktopKey, {{"WheelScrollLines", std::to_string(lines)}});
}

}  // namespace platform
