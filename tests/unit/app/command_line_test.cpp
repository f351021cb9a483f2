// The command line, parsed and as the real program answers it: help and version end the program
// before it opens a display or claims the single-instance endpoint.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/CommandLine.h"

namespace {

struct ParseCase {
    std::vector<std::string> args;
    bool run;
    int exitCode;
    const char* outHas;  // in standard output ("" for nothing)
    const char* errHas;  // in standard error
};

class CommandLine : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLine, Answers) {
    const ParseCase& c = GetParam();
    auto outcome = app::ParseCommandLine(c.args);
    EXPECT_EQ(outcome.run, c.run);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
    EXPECT_NE(outcome.out.find(c.outHas), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.err.find(c.errHas), std::string::npos) << outcome.err;
    if (!*c.outHas) {
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
    }
    if (!*c.errHas) {
        EXPECT_TRUE(outcome.err.empty()) << outcome.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    ::testing::Values(ParseCase{{}, true, 0, "", ""},
                      ParseCase{{"--help"}, false, 0, "Usage: oakridge [--help] [--version]\n", ""},
                      ParseCase{{"--version"}, false, 0, "oakridge 1.", ""},
                      ParseCase{{"--version", "--bogus"}, false, 2, "", "unknown option '--bogus'"},
                      ParseCase{{"--version", "--help"}, false, 0, "--version  show the version", ""},
                      ParseCase{{"--bogus"}, false, 2, "", "unknown option '--bogus'"},
                      ParseCase{{"-h"}, false, 2, "", "Usage: oakridge [--help] [--version]"},
                      ParseCase{{"--help=yes"}, false, 2, "", "unknown option"},
                      ParseCase{{"profile.bin"}, false, 2, "", "unexpected argument 'profile.bin'"}));

struct ProgramRun {
    int status = -1;
    std::string out;
};

// Runs the built program with `args` and a private, display-less environment.
ProgramRun RunProgram(const std::string& args, const std::filesystem::path& runtime) {
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR='" + runtime.string() +
                          "' ASAN_OPTIONS=detect_leaks=0 '" + std::getenv("OAKRIDGE_BIN_DIR") +
                          "/oakridge' " + args + " 2>&1";
    ProgramRun run;
    if (FILE* p = popen(command.c_str(), "r")) {
        std::array<char, 512> buf;
        while (fgets(buf.data(), buf.size(), p)) run.out += buf.data();
        int status = pclose(p);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

TEST(Program, AnswersHelpAndVersionAndRefusesTheRestWithoutStarting) {
    auto runtime = std::filesystem::temp_directory_path() / ("oakridge-cli-" + std::to_string(::getpid()));
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    struct Want {
        const char* args;
        int status;
        const char* has;
    };
    for (const Want& want :
         {Want{"--help", 0, "Usage: oakridge [--help] [--version]"}, Want{"--version", 0, "oakridge 1."},
          Want{"--colour", 2, "unknown option '--colour'"}}) {
        ProgramRun run = RunProgram(want.args, runtime);
        EXPECT_EQ(run.status, want.status) << want.args << ": " << run.out;
        EXPECT_NE(run.out.find(want.has), std::string::npos) << want.args << ": " << run.out;
        // Without a display a start would complain about it; an answer never gets that far.
        EXPECT_EQ(run.out.find("display"), std::string::npos) << want.args << ": " << run.out;
    }
    // No endpoint was claimed: the runtime folder holds no socket or lock of ours.
    EXPECT_FALSE(std::filesystem::exists(runtime / "oakridge")) << "the endpoint was claimed";
    // A plain start claims it, which shows the check above can fail.
    RunProgram("", runtime);
    EXPECT_TRUE(std::filesystem::exists(runtime / "oakridge"));
    std::filesystem::remove_all(runtime);
}

}  // namespace
