// crash_probe <mode> [flags]: installs the crash filter with `flags` (default 1), prints what it is
// about to do, then dies the way `mode` says. Used by crash_test.cpp; never part of the product.
//   segv        write to a PROT_NONE page (a real fault); prints "address 0x..." first
//   thread-segv the same on a second thread
//   thread-overflow     overflow the stack of a second thread that asked for a crash stack;
//                       prints "thread <id>" first
//   endpoint-overflow   overflow the stack of a message endpoint's thread, inside its handler
//   corrupt-stack       fault with the stack and frame pointers aimed at a PROT_NONE page, so
//                       that walking the stack faults again (x86-64; exits 5 elsewhere)
//   ill         execute an undefined instruction
//   bus fpe abort  raise that signal
//   throw       let a std::runtime_error("probe boom") escape main
//   exit        exit normally (no crash)
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/CrashHandler.h"
#include "platform/MessageEndpoint.h"

namespace {

void* GuardPage() {
    void* page = ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) std::exit(2);
    return page;
}

void FaultOnGuardPage() {
    void* page = GuardPage();
    std::printf("address %p\n", page);
    std::fflush(stdout);
    *static_cast<volatile int*>(page) = 1;
}

void PrintThread() {
    std::printf("thread %ld\n", static_cast<long>(::syscall(SYS_gettid)));
    std::fflush(stdout);
}

// Not a tail call, and each frame keeps a kilobyte live: the stack runs out quickly. The recursion
// without end is the point, so the compiler's warning about it is silenced here only.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winfinite-recursion"
int Recurse(int depth) {
    volatile char pad[1024];
    pad[depth % sizeof pad] = static_cast<char>(depth);
    return Recurse(depth + 1) + pad[0];
}
#pragma GCC diagnostic pop

[[noreturn]] void FaultWithCorruptStack() {
#if defined(__x86_64__)
    char* page = static_cast<char*>(GuardPage());
    std::printf("address %p\n", static_cast<void*>(page + 2048));
    std::fflush(stdout);
    asm volatile(
        "mov %0, %%rbp\n\t"
        "mov %0, %%rsp\n\t"
        "movl $1, (%%rsp)\n\t" ::"r"(page + 2048)
        : "memory");
    __builtin_unreachable();
#else
    std::exit(5);
#endif
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
    } else if (mode == "thread-overflow") {
        std::thread([] {
            platform::InstallThreadCrashStack();
            PrintThread();
            Recurse(0);
        }).join();
    } else if (mode == "endpoint-overflow") {
        auto endpoint = platform::MessageEndpoint::Claim(
            "CrashProbe", [](uint32_t) { return true; },
            [](uint32_t, int64_t, int64_t) {
                PrintThread();
                Recurse(0);
            });
        if (!endpoint) return 4;
        platform::MessageEndpoint::Post("CrashProbe", 1);
    } else if (mode == "corrupt-stack") {
        FaultWithCorruptStack();
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
