// SystemClock and the process-wide clock pointer; portable (std::chrono, std::thread).
#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {

uint64_t SystemClock::NowMs() const {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::SleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {

SystemClock& TheSystemClock() {
    static SystemClock clock;
    return clock;
}

// Null means the system clock. An atomic pointer so that workers reading the clock while a test
// swaps it stay race-free; the installed clock must outlive every reader.
std::atomic<Clock*> gCurrentClock{nullptr};

}  // namespace

Clock& CurrentClock() {
    Clock* clock = gCurrentClock.load(std::memory_order_acquire);
    return clock ? *clock : TheSystemClock();
}

void SetCurrentClock(Clock* clock) {
    gCurrentClock.store(clock, std::memory_order_release);
}

}  // namespace platform
