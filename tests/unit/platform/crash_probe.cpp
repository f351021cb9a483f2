// crash_probe <mode> [flags]: installs the crash filter with `flags` (default 1), prints what it is
// about to do, then dies the way `mode` says. Used by crash_test.cpp; never part of the product.
//   segv        write to a PROT_NONE page (a real fault); prints "address 0x..." first
//   thread-segv the same on a second thread
//   ill         execute an undefined instruction
//   bus fpe abort  raise that signal
//   throw       let a std::runtime_error("probe boom") escape main
//   exit        exit normally (no crash)
#include <sys/mman.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/CrashHandler.h"

namespace {

void FaultOnGuardPage() {
    void* page = ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) std::exit(2);
    std::printf("address %p\n", page);
    std::fflush(stdout);
    *static_cast<volatile int*>(page) = 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string mode = argv[1];
    unsigned flags = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 0)) : 1u;
    platform::InstallCrashFilter(flags);
    std::printf("pid %d\n", static_cast<int>(::getpid()));
    std::fflush(stdout);

    if (mode == "segv") {
        FaultOnGuardPage();
    } else if (mode == "thread-segv") {
        std::thread([] { FaultOnGuardPage(); }).join();
    } else if (mode == "ill") {
        __builtin_trap();
    } else if (mode == "bus") {
        std::raise(SIGBUS);
    } else if (mode == "fpe") {
        std::raise(SIGFPE);
    } else if (mode == "abort") {
        std::abort();
    } else if (mode == "throw") {
        throw std::runtime_error("probe boom");
    } else if (mode == "exit") {
        return 0;
    }
    return 3;  // the fault did not end the process
}
