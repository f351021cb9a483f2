// The device monitor's loop: a failing poll backs off instead of spinning, and says so once.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/linux/MonitorLoop.h"

using namespace platform::linux_impl;

namespace {

constexpr int kEventFd = 10;
constexpr int kWakeFd = 11;

// What each poll of the loop answers; past the script the wake descriptor becomes readable.
struct PollStep {
    int result;  // -1 fails with `error`
    int error = 0;
    short eventRevents = 0;
};

PollStep Fails(int error) {
    return {-1, error};
}
PollStep Event(short revents) {
    return {1, 0, revents};
}

class ScriptedSource final : public MonitorSource {
  public:
    explicit ScriptedSource(std::vector<PollStep> script, bool wakeDuringWait = false)
        : script_(std::move(script)), wakeDuringWait_(wakeDuringWait) {}

    int Poll(pollfd* fds, nfds_t count, int) override {
        ++polls;
        for (nfds_t i = 0; i < count; ++i) fds[i].revents = 0;
        if (next_ >= script_.size()) {
            fds[1].revents = POLLIN;
            return 1;
        }
        PollStep step = script_[next_++];
        if (step.result < 0) {
            errno = step.error;
            return -1;
        }
        fds[0].revents = step.eventRevents;
        return step.result;
    }
    bool ReceiveChange() override { return ++receives, true; }
    bool WaitForWake(int wakeFd, int ms) override {
        EXPECT_EQ(wakeFd, kWakeFd);
        waits.push_back(ms);
        return wakeDuringWait_;
    }
    void Log(std::string_view line) override { logs.emplace_back(line); }

    int polls = 0;
    int receives = 0;
    std::vector<int> waits;
    std::vector<std::string> logs;

  private:
    std::vector<PollStep> script_;
    size_t next_ = 0;
    bool wakeDuringWait_;
};

struct LoopCase {
    const char* name;
    std::vector<PollStep> script;
    std::vector<int> waits;
    int changes;
    size_t logs;
};

void PrintTo(const LoopCase& c, std::ostream* os) {
    *os << c.name;
}

class MonitorLoopTest : public ::testing::TestWithParam<LoopCase> {};

TEST_P(MonitorLoopTest, BacksOffWhilePollFails) {
    const LoopCase& c = GetParam();
    ScriptedSource source(c.script);
    int changes = 0;
    RunMonitorLoop(source, kEventFd, kWakeFd, [&] { ++changes; });
    EXPECT_EQ(source.waits, c.waits);
    EXPECT_EQ(changes, c.changes);
    EXPECT_EQ(source.logs.size(), c.logs);
}

const std::vector<PollStep> kEightFailures(8, Fails(ENOMEM));

INSTANTIATE_TEST_SUITE_P(
    Cases, MonitorLoopTest,
    ::testing::Values(
        LoopCase{"KeepsFailing", kEightFailures, {100, 200, 400, 800, 1600, 3200, 5000, 5000}, 0, 1},
        LoopCase{"InterruptedIsNoFailure", {Fails(EINTR), Fails(EINTR), Event(POLLIN)}, {}, 1, 0},
        // A descriptor in error never turns readable: poll would return at once for ever.
        LoopCase{"EventDescriptorInError",
                 {Event(POLLERR), Event(POLLNVAL), Event(POLLHUP)},
                 {100, 200, 400},
                 0,
                 1},
        LoopCase{"RecoveryStartsOver",
                 {Fails(EBADF), Fails(EBADF), Event(POLLIN), Fails(EBADF), Event(POLLIN)},
                 {100, 200, 100},
                 2,
                 1}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(MonitorLoop, WakeDuringABackOffEndsTheLoop) {
    ScriptedSource source(std::vector<PollStep>(1000, Fails(ENOMEM)), /*wakeDuringWait=*/true);
    RunMonitorLoop(source, kEventFd, kWakeFd, [] {});
    EXPECT_EQ(source.polls, 1);
    EXPECT_EQ(source.waits, std::vector<int>{kFirstBackoffMs});
}

}  // namespace
