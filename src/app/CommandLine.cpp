#include "app/CommandLine.h"

namespace app {

const char* ProgramVersion() {
    return OAKRIDGE_VERSION;
}

CommandLineOutcome ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineOutcome outcome;
    if (args.empty()) return outcome;
    outcome.run = false;
    bool help = false;
    for (const std::string& arg : args) {
        if (arg == "--help") {
            help = true;
        } else if (arg != "--version") {
            outcome.exitCode = 2;
            outcome.err = (!arg.empty() && arg[0] == '-' ? "oakridge: unknown option '"
                                                         : "oakridge: unexpected argument '") +
                          arg + "'\n" + kUsage;
            return outcome;
        }
    }
    if (help)
        outcome.out = std::string(kUsage) +
                      "Configure Lumenor gaming mice and keyboards.\n"
                      "\n"
                      "  --help     show this help and exit\n"
                      "  --version  show the version and exit\n";
    else
        outcome.out = std::string("oakridge ") + ProgramVersion() + "\n";
    return outcome;
}

}  // namespace app
