#pragma once
// Milliseconds on a steady clock. Tests install a ManualClock so waits and timers run without
// sleeping.
#include <atomic>
#include <cstdint>

namespace platform {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint64_t NowMs() const = 0;
    // Blocks the calling thread for `ms` (a ManualClock advances itself instead).
    virtual void SleepMs(uint32_t ms) = 0;
};

class SystemClock final : public Clock {
  public:
    uint64_t NowMs() const override;
    void SleepMs(uint32_t ms) override;
};

class ManualClock final : public Clock {
  public:
    explicit ManualClock(uint64_t start = 1000) : now_(start) {}
    uint64_t NowMs() const override { return now_.load(); }
    void SleepMs(uint32_t ms) override { now_ += ms; }
    void Advance(uint64_t ms) { now_ += ms; }

  private:
    std::atomic<uint64_t> now_;
};

// The process clock; a SystemClock unless a test installed another one.
Clock& CurrentClock();
void SetCurrentClock(Clock* clock);  // nullptr restores the system clock

}  // namespace platform
