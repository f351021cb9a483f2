#include "mouse/PointerSettings.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/PointerSettingsStore.h"

namespace mouse {
namespace {

using Store = platform::PointerSettingsStore;

constexpr std::array<int, 11> kSpeeds = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
constexpr std::array<int, 11> kDoubleClickTimes = {900, 830, 760, 690, 620, 550, 480, 410, 340, 270, 200};

size_t StepIndex(int step) {
    return static_cast<size_t>(std::clamp(step, 1, 11) - 1);
}

// Leading decimal number of a registry text; nullopt when it has none.
std::optional<long long> Number(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    const char* begin = text->c_str();
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE) return std::nullopt;
    return value;
}

}  // namespace

PointerSettings& PointerSettings::Instance() {
    static PointerSettings settings;
    return settings;
}

int PointerSettings::SpeedOfStep(int step) {
    return kSpeeds[StepIndex(step)];
}
int PointerSettings::DoubleClickTimeOfStep(int step) {
    return kDoubleClickTimes[StepIndex(step)];
}

int PointerSettings::StepOfSpeed(int speed) {
    if (speed < 0 || speed > 20) return 0;
    return speed <= 1 ? 1 : speed / 2 + 1;
}

int PointerSettings::StepOfDoubleClickTime(unsigned ms) {
    for (size_t i = 0; i < kDoubleClickTimes.size() - 1; ++i)
        if (ms >= static_cast<unsigned>(kDoubleClickTimes[i])) return static_cast<int>(i) + 1;
    return 11;
}

void PointerSettings::ReadFromSystem(PointerValues& v) {
    std::array<int, 3> mouse{};
    if (Store::GetMouse(mouse)) v.enhancePrecision = (mouse[0] || mouse[1] || mouse[2]) ? 1 : 0;
    int speed = 0;
    if (Store::GetMouseSpeed(speed))
        if (int step = StepOfSpeed(speed)) v.speedStep = step;
    v.doubleClickStep = 6;
    v.wheelLines = 6;
    // The registry text is compared unsigned, as Windows reads it: "-1" is a huge time.
    if (auto time = Number(Store::QueryValue(Store::kMouseKey, "DoubleClickSpeed")))
        v.doubleClickStep = StepOfDoubleClickTime(static_cast<unsigned>(*time));
    if (!Store::KeyExists(Store::kDesktopKey)) return;
    auto lines = Number(Store::QueryValue(Store::kDesktopKey, "WheelScrollLines"));
    v.wheelLines =
        lines && *lines != 0 && *lines >= INT_MIN && *lines <= INT_MAX ? static_cast<int>(*lines) : 3;
    v.scrollByScreen = v.wheelLines == -1 ? 1 : 0;
}

void PointerSettings::ApplyToSystem(const PointerValues& v) {
    const int speed = SpeedOfStep(v.speedStep);
    const int doubleClick = DoubleClickTimeOfStep(v.doubleClickStep);
    const bool precise = v.enhancePrecision != 0;
    const int lines = v.scrollByScreen ? -1 : v.wheelLines;
    Store::SetKeys({{Store::kMouseKey,
                     {{"MouseSpeed", precise ? "1" : "0"},
                      {"MouseThreshold1", precise ? "6" : "0"},
                      {"MouseThreshold2", precise ? "10" : "0"},
                      {"DoubleClickSpeed", std::to_string(doubleClick)},
                      {"MouseSensitivity", std::to_string(speed)}}},
                    {Store::kDesktopKey, {{"WheelScrollLines", std::to_string(lines)}}}});
    // The file now holds every value the system calls would fall back to, so only the desktop is told.
    auto desktop = platform::CurrentPointerDesktop();
    desktop->SetSpeed(speed);
    desktop->SetAcceleration(precise);
    desktop->SetDoubleClickTime(doubleClick);
    desktop->SetWheelScrollLines(lines);
}

PointerValues PointerSettings::Get() const {
    std::lock_guard lock(mutex_);
    return values_;
}

void PointerSettings::Set(const PointerValues& values) {
    std::lock_guard lock(mutex_);
    values_ = values;
}

void PointerSettings::Refresh() {
    PointerValues values = Get();
    ReadFromSystem(values);
    Set(values);
}

PointerSettings::~PointerSettings() {
    {
        std::lock_guard lock(applyMutex_);
        stopping_ = true;
    }
    applyChanged_.notify_all();
    if (applier_.joinable()) applier_.join();
}

void PointerSettings::Apply(const PointerValues& values) {
    Set(values);
    {
        std::lock_guard lock(applyMutex_);
        pending_ = values;
        if (!applier_.joinable()) applier_ = std::thread([this] { ApplyLoop(); });
    }
    applyChanged_.notify_all();
}

void PointerSettings::WaitUntilApplied() {
    std::unique_lock lock(applyMutex_);
    applyChanged_.wait(lock, [this] { return !pending_ && !applying_; });
}

void PointerSettings::ApplyLoop() {
    std::unique_lock lock(applyMutex_);
    while (true) {
        applyChanged_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) break;  // stopping with nothing left to apply
        const PointerValues values = *pending_;
        pending_.reset();
        applying_ = true;
        lock.unlock();
        ApplyToSystem(values);
        lock.lock();
        applying_ = false;
        applyChanged_.notify_all();
    }
}

}  // namespace mouse
