#pragma once
// The command line: "--help" and "--version" answer and end the program before anything else
// (no window, no display connection, no single-instance endpoint); anything else is refused.
#include <string>
#include <vector>

namespace app {

inline constexpr const char* kUsage = "Usage: oakridge [--help] [--version]\n";

struct CommandLineOutcome {
    bool run = true;   // false: exit with `exitCode` after printing
    int exitCode = 0;  // 0 for --help and --version, 2 for a bad command line
    std::string out;   // for standard output
    std::string err;   // for standard error
};

// `args` without the program name.
CommandLineOutcome ParseCommandLine(const std::vector<std::string>& args);

// The program's version, "1.0.0".
const char* ProgramVersion();

}  // namespace app
