// Crash filter: crash_probe installs it and faults; exactly one report stays at the dump path,
// holding the last crash, and the process still dies from the original signal.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TestFolder.h"
#include "platform/CrashHandler.h"
#include "platform/Paths.h"

using namespace platform;
using platform_test::ScopedEnv;
using platform_test::TestFolder;

extern char** environ;

namespace {

struct ProbeResult {
    int status = 0;
    std::string output;  // what the probe printed on stdout
};

class CrashTest : public ::testing::Test {
  protected:
    std::string StateFolder() const { return folder_ / "state/oakridge/"; }
    std::string DumpPath() const { return StateFolder() + "Lumenor_Egret.dmp"; }

    ProbeResult RunProbe(const std::string& mode, const std::string& flags = "1") {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string entry = *e;
            if (entry.rfind("XDG_STATE_HOME=", 0) != 0 && entry.rfind("XDG_RUNTIME_DIR=", 0) != 0 &&
                entry.rfind("ASAN_OPTIONS=", 0) != 0 && entry.rfind("UBSAN_OPTIONS=", 0) != 0 &&
                entry.rfind("TSAN_OPTIONS=", 0) != 0)
                env.push_back(entry);
        }
        env.push_back("XDG_STATE_HOME=" + folder_ / "state");
        std::string run = folder_ / "run";
        ::mkdir(run.c_str(), 0700);
        env.push_back("XDG_RUNTIME_DIR=" + run);
        // Sanitizer runtimes have fatal-signal handlers of their own; let ours get the signal. They
        // also give every thread an alternate stack, which would hide a thread that has none.
        const char* handlers =
            "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:"
            "allow_user_segv_handler=1:use_sigaltstack=0";
        env.push_back(std::string("ASAN_OPTIONS=") + handlers);
        env.push_back(std::string("UBSAN_OPTIONS=") + handlers);
        env.push_back(std::string("TSAN_OPTIONS=") + handlers);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);

        std::string outPath = folder_ / "probe.out";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::string path = CRASH_PROBE_PATH;
        std::vector<char*> argv{path.data(), const_cast<char*>(mode.c_str()),
                                const_cast<char*>(flags.c_str()), nullptr};
        ProbeResult result;
        pid_t pid = 0;
        int rc = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(rc, 0);
        if (rc != 0) return result;
        while (::waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
        }
        result.output = Slurp(outPath);
        return result;
    }

    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<std::string> StateEntries() const {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(StateFolder().c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                std::string name = entry->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            ::closedir(dir);
        }
        return names;
    }

    // The value after "<key> " on the probe's output line that starts with it.
    static std::string ProbeValue(const std::string& output, const std::string& key) {
        size_t at = output.find(key + " ");
        if (at == std::string::npos) return {};
        size_t end = output.find('\n', at);
        return output.substr(at + key.size() + 1, end - at - key.size() - 1);
    }

    TestFolder folder_;
};

}  // namespace

TEST_F(CrashTest, DumpPathIsInTheStateFolder) {
    ScopedEnv env("XDG_STATE_HOME", folder_ / "state");
    EXPECT_EQ(CrashDumpPath(), DumpPath());
}

TEST_F(CrashTest, SegfaultWritesAReportAndDiesWithSigsegv) {
    ProbeResult run = RunProbe("segv");
    ASSERT_TRUE(WIFSIGNALED(run.status)) << "status " << run.status << ", output: " << run.output;
    EXPECT_EQ(WTERMSIG(run.status), SIGSEGV);

    std::string report = Slurp(DumpPath());
    EXPECT_EQ(report.rfind("Oakridge crash report\n", 0), 0u) << report.substr(0, 500);
    EXPECT_NE(report.find("signal: SIGSEGV (11)\n"), std::string::npos);
    EXPECT_NE(report.find("code: 2 (SEGV_ACCERR)\n"), std::string::npos) << "a write to a PROT_NONE page";
    char probe[PATH_MAX];
    ASSERT_NE(::realpath(CRASH_PROBE_PATH, probe), nullptr);
    EXPECT_NE(report.find("executable: " + std::string(probe) + "\n"), std::string::npos);
    std::string address = ProbeValue(run.output, "address");
    ASSERT_FALSE(address.empty()) << run.output;
    EXPECT_NE(report.find("address: " + address + "\n"), std::string::npos) << report.substr(0, 500);
    std::string pid = ProbeValue(run.output, "pid");
    EXPECT_NE(report.find("pid: " + pid + "\n"), std::string::npos);
    EXPECT_NE(report.find("thread: " + pid + "\n"), std::string::npos);  // the main thread faulted
    EXPECT_NE(report.find("\nbacktrace:\n"), std::string::npos);
    EXPECT_NE(report.find("crash_probe("), std::string::npos) << "backtrace names the probe's frames";
    EXPECT_NE(report.find("\nmodules (/proc/self/maps):\n"), std::string::npos);
    EXPECT_NE(report.find("/crash_probe\n"), std::string::npos) << "the module map lists the probe";

    struct stat st {};
    ASSERT_EQ(::stat(DumpPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(CrashTest, TwoCrashesLeaveOneReportHoldingTheLast) {
    ProbeResult first = RunProbe("segv");
    ASSERT_TRUE(WIFSIGNALED(first.status));
    ASSERT_NE(Slurp(DumpPath()).find("SIGSEGV"), std::string::npos);
    struct stat before {};
    ASSERT_EQ(::stat(DumpPath().c_str(), &before), 0);

    ProbeResult second = RunProbe("fpe");
    ASSERT_TRUE(WIFSIGNALED(second.status));
    EXPECT_EQ(WTERMSIG(second.status), SIGFPE);
    std::string report = Slurp(DumpPath());
    EXPECT_NE(report.find("signal: SIGFPE (8)"), std::string::npos);
    EXPECT_EQ(report.find("SIGSEGV"), std::string::npos);
    EXPECT_NE(report.find("pid: " + ProbeValue(second.output, "pid") + "\n"), std::string::npos);
    struct stat after {};
    ASSERT_EQ(::stat(DumpPath().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "replaced by rename, not rewritten in place";

    EXPECT_EQ(StateEntries(), std::vector<std::string>{"Lumenor_Egret.dmp"}) << "no temporary files left";
}

TEST_F(CrashTest, UncaughtExceptionIsReportedAsAbort) {
    ProbeResult run = RunProbe("throw");
    ASSERT_TRUE(WIFSIGNALED(run.status));
    EXPECT_EQ(WTERMSIG(run.status), SIGABRT);
    std::string report = Slurp(DumpPath());
    EXPECT_NE(report.find("signal: SIGABRT (6)"), std::string::npos);
    EXPECT_NE(report.find("reason: uncaught: probe boom\n"), std::string::npos) << report.substr(0, 500);
}

TEST_F(CrashTest, FaultOnASecondThreadNamesThatThread) {
    ProbeResult run = RunProbe("thread-segv");
    ASSERT_TRUE(WIFSIGNALED(run.status));
    EXPECT_EQ(WTERMSIG(run.status), SIGSEGV);
    std::string report = Slurp(DumpPath());
    std::string pid = ProbeValue(run.output, "pid");
    EXPECT_NE(report.find("signal: SIGSEGV"), std::string::npos);
    EXPECT_NE(report.find("thread: "), std::string::npos);
    EXPECT_EQ(report.find("thread: " + pid + "\n"), std::string::npos);
}

// A stack overflow leaves the handler no room on the thread's own stack: each thread the program
// starts brings an alternate one, the endpoint's thread included.
class StackOverflowTest : public CrashTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StackOverflowTest, IsReportedOnTheThreadThatOverflowed) {
    ProbeResult run = RunProbe(GetParam());
    ASSERT_TRUE(WIFSIGNALED(run.status)) << "status " << run.status << ", output: " << run.output;
    EXPECT_EQ(WTERMSIG(run.status), SIGSEGV);
    std::string thread = ProbeValue(run.output, "thread");
    ASSERT_FALSE(thread.empty()) << run.output;
    EXPECT_NE(thread, ProbeValue(run.output, "pid"));
    std::string report = Slurp(DumpPath());
    EXPECT_NE(report.find("signal: SIGSEGV (11)\n"), std::string::npos) << report.substr(0, 300);
    EXPECT_NE(report.find("thread: " + thread + "\n"), std::string::npos) << report.substr(0, 300);
    EXPECT_NE(report.find("\nbacktrace:\n"), std::string::npos);
    EXPECT_EQ(StateEntries(), std::vector<std::string>{"Lumenor_Egret.dmp"});
}

INSTANTIATE_TEST_SUITE_P(Threads, StackOverflowTest,
                         ::testing::Values("thread-overflow", "endpoint-overflow"), [](const auto& test) {
                             std::string name = test.param;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

TEST_F(CrashTest, AFaultWhileWalkingACorruptStackKeepsTheReport) {
    ProbeResult run = RunProbe("corrupt-stack");
    if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 5) GTEST_SKIP() << "no probe for this processor";
    ASSERT_TRUE(WIFSIGNALED(run.status)) << "status " << run.status << ", output: " << run.output;
    EXPECT_EQ(WTERMSIG(run.status), SIGSEGV) << "the process dies of the first fault";
    EXPECT_EQ(StateEntries(), std::vector<std::string>{"Lumenor_Egret.dmp"})
        << "renamed into place, no temp file";

    std::string report = Slurp(DumpPath());
    std::string address = ProbeValue(run.output, "address");
    ASSERT_FALSE(address.empty()) << run.output;
    EXPECT_NE(report.find("signal: SIGSEGV (11)\n"), std::string::npos) << report.substr(0, 500);
    EXPECT_NE(report.find("address: " + address + "\n"), std::string::npos) << report.substr(0, 500);
    EXPECT_NE(report.find("thread: " + ProbeValue(run.output, "pid") + "\n"), std::string::npos);
    size_t modules = report.find("\nmodules (/proc/self/maps):\n");
    size_t backtrace = report.find("\nbacktrace:\n");
    ASSERT_NE(modules, std::string::npos);
    ASSERT_NE(backtrace, std::string::npos);
    EXPECT_LT(modules, backtrace) << "the fixed part comes before the backtrace";
    EXPECT_NE(report.find("/crash_probe\n", modules), std::string::npos) << "the module map is whole";
    EXPECT_NE(report.find("(report cut short: SIGSEGV (11) while writing it)\n", backtrace),
              std::string::npos)
        << report.substr(backtrace);
}

TEST_F(CrashTest, WithoutBitZeroNothingIsInstalled) {
    ProbeResult run = RunProbe("fpe", "0");
    ASSERT_TRUE(WIFSIGNALED(run.status));
    EXPECT_EQ(WTERMSIG(run.status), SIGFPE);
    EXPECT_FALSE(FileExists(DumpPath()));
}

TEST_F(CrashTest, NormalExitWritesNothing) {
    ProbeResult run = RunProbe("exit");
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    EXPECT_FALSE(FileExists(DumpPath()));
}

class CrashSignalTest : public CrashTest,
                        public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(CrashSignalTest, DiesWithTheOriginalSignalAfterReporting) {
    auto [mode, signo] = GetParam();
    ProbeResult run = RunProbe(mode);
    ASSERT_TRUE(WIFSIGNALED(run.status)) << mode << " status " << run.status;
    EXPECT_EQ(WTERMSIG(run.status), signo) << mode;
    std::string report = Slurp(DumpPath());
    EXPECT_NE(report.find("signal: " + std::string("SIG") + sigabbrev_np(signo) + " (" +
                          std::to_string(signo) + ")"),
              std::string::npos)
        << report.substr(0, 300);
    EXPECT_EQ(StateEntries().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Signals, CrashSignalTest,
                         ::testing::Values(std::pair<const char*, int>{"segv", SIGSEGV},
                                           std::pair<const char*, int>{"bus", SIGBUS},
                                           std::pair<const char*, int>{"ill", SIGILL},
                                           std::pair<const char*, int>{"fpe", SIGFPE},
                                           std::pair<const char*, int>{"abort", SIGABRT}),
                         [](const auto& test) { return std::string(test.param.first); });

TEST(CrashFilter, RecordsTheFlags) {
    EXPECT_EQ(CrashFilterFlags(), 0u);
    InstallCrashFilter(0);  // bit 0 clear: nothing installed in this (test) process
    EXPECT_EQ(CrashFilterFlags(), 0u);
    InstallCrashFilter(6);
    EXPECT_EQ(CrashFilterFlags(), 6u);
}
