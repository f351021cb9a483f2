// The crash filter on Linux: fatal-signal handlers (and a terminate handler that aborts into them)
// that write a text report to CrashDumpPath(). Everything the handler needs is prepared at install
// time; the handler itself only makes async-signal-safe calls and formats numbers by hand.
#include "platform/CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <typeinfo>

#include "platform/Paths.h"

namespace platform {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr size_t kPathCapacity = 4096;
constexpr size_t kReasonCapacity = 512;
constexpr int kMaxFrames = 64;

std::atomic<unsigned> gFlags{0};

// Filled at install time, read by the handler.
char gDumpPath[kPathCapacity];
char gTempPath[kPathCapacity];  // rebuilt in the handler: gDumpPath + "." + pid + ".tmp"
size_t gDumpPathLength = 0;
bool gPathsReady = false;

// Set by the terminate handler just before it aborts: what escaped.
char gReason[kReasonCapacity];
std::atomic<bool> gHaveReason{false};

// Thread id of the thread writing a report, 0 when none.
std::atomic<long> gReportingThread{0};

alignas(16) char gAltStack[256 * 1024];

// ---- async-signal-safe text output -------------------------------------------------------------

class Writer {
  public:
    explicit Writer(int fd) : fd_(fd) {}
    ~Writer() { Flush(); }

    Writer& Text(const char* text) {
        while (*text) Put(*text++);
        return *this;
    }
    Writer& Decimal(long long value) {
        unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
        if (value < 0) Put('-');
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        while (count > 0) Put(digits[--count]);
        return *this;
    }
    Writer& Hex(unsigned long long value) {
        Text("0x");
        char digits[16];
        int count = 0;
        do {
            digits[count++] = "0123456789abcdef"[value & 0xf];
            value >>= 4;
        } while (value != 0);
        while (count > 0) Put(digits[--count]);
        return *this;
    }
    void Flush() {
        WriteAll(fd_, buffer_, used_);
        used_ = 0;
    }
    static void WriteAll(int fd, const char* data, size_t size) {
        while (size > 0) {
            ssize_t n = ::write(fd, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            data += n;
            size -= static_cast<size_t>(n);
        }
    }

  private:
    void Put(char c) {
        if (used_ == sizeof buffer_) Flush();
        buffer_[used_++] = c;
    }
    int fd_;
    char buffer_[512];
    size_t used_ = 0;
};

const char* SignalName(int signo) {
    switch (signo) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGBUS:
            return "SIGBUS";
        case SIGILL:
            return "SIGILL";
        case SIGFPE:
            return "SIGFPE";
        case SIGABRT:
            return "SIGABRT";
        default:
            return "signal";
    }
}

const char* CodeName(int signo, int code) {
    switch (code) {
        case SI_USER:
            return "SI_USER";
        case SI_TKILL:
            return "SI_TKILL";
        case SI_QUEUE:
            return "SI_QUEUE";
        default:
            break;
    }
    if (signo == SIGSEGV && code == SEGV_MAPERR) return "SEGV_MAPERR";
    if (signo == SIGSEGV && code == SEGV_ACCERR) return "SEGV_ACCERR";
    if (signo == SIGBUS && code == BUS_ADRALN) return "BUS_ADRALN";
    if (signo == SIGBUS && code == BUS_ADRERR) return "BUS_ADRERR";
    if (signo == SIGFPE && code == FPE_INTDIV) return "FPE_INTDIV";
    if (signo == SIGILL && code == ILL_ILLOPN) return "ILL_ILLOPN";
    return nullptr;
}

// gTempPath = gDumpPath + "." + pid + ".tmp", so two crashing processes never share a temp file.
void BuildTempPath() {
    char pid[24];
    int count = 0;
    long value = static_cast<long>(::getpid());
    do {
        pid[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && count < 23);
    size_t at = gDumpPathLength;
    gTempPath[at++] = '.';
    while (count > 0) gTempPath[at++] = pid[--count];
    const char* suffix = ".tmp";
    while (*suffix) gTempPath[at++] = *suffix++;
    gTempPath[at] = '\0';
}

void CopyFile(const char* from, int toFd) {
    int fd = ::open(from, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        Writer::WriteAll(toFd, buffer, static_cast<size_t>(n));
    }
    ::close(fd);
}

void WriteReport(int signo, const siginfo_t* info) {
    BuildTempPath();
    int fd = ::open(gTempPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    {
        Writer out(fd);
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        out.Text("Oakridge crash report\n");
        out.Text("signal: ").Text(SignalName(signo)).Text(" (").Decimal(signo).Text(")\n");
        int code = info ? info->si_code : 0;
        out.Text("code: ").Decimal(code);
        if (const char* name = CodeName(signo, code)) out.Text(" (").Text(name).Text(")");
        out.Text("\n");
        out.Text("address: ").Hex(info ? reinterpret_cast<uintptr_t>(info->si_addr) : 0).Text("\n");
        out.Text("pid: ").Decimal(::getpid()).Text("\n");
        out.Text("thread: ").Decimal(::syscall(SYS_gettid)).Text("\n");
        out.Text("time: ").Decimal(now.tv_sec).Text("\n");
        char exe[kPathCapacity];
        ssize_t exeLength = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
        if (exeLength > 0) {
            exe[exeLength] = '\0';
            out.Text("executable: ").Text(exe).Text("\n");
        }
        if (gHaveReason.load()) out.Text("reason: ").Text(gReason).Text("\n");
        out.Text("\nbacktrace:\n");
        out.Flush();
        void* frames[kMaxFrames];
        int count = ::backtrace(frames, kMaxFrames);
        ::backtrace_symbols_fd(frames, count, fd);
        out.Text("\nmodules (/proc/self/maps):\n");
        out.Flush();
        CopyFile("/proc/self/maps", fd);
    }
    bool ok = ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(gTempPath, gDumpPath) != 0) ::unlink(gTempPath);
}

void DieWith(int signo) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signo, &action, nullptr);
    // Delivered once this handler returns (the signal is blocked while it runs); a fault that
    // re-executes dies the same way.
    ::syscall(SYS_tgkill, ::getpid(), ::syscall(SYS_gettid), signo);
}

void OnFatalSignal(int signo, siginfo_t* info, void*) {
    int savedErrno = errno;
    long self = ::syscall(SYS_gettid);
    long expected = 0;
    if (!gReportingThread.compare_exchange_strong(expected, self)) {
        if (expected == self) {
            // A second fatal signal while writing the report: give up on the report.
            DieWith(signo);
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, signo);
            ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
            ::_exit(128 + signo);
        }
        // Another thread is writing the report and will end the process; wait for it.
        for (int i = 0; i < 100; ++i) {
            timespec pause{0, 100 * 1000 * 1000};
            ::nanosleep(&pause, nullptr);
        }
        DieWith(signo);
        errno = savedErrno;
        return;
    }
    if (gPathsReady) WriteReport(signo, info);
    DieWith(signo);
    errno = savedErrno;
}

[[noreturn]] void OnTerminate() {
    // Not in a signal handler yet: we may look at the exception, but keep it to copying text.
    const char* what = "std::terminate called without an active exception";
    if (std::exception_ptr current = std::current_exception()) {
        what = "uncaught exception of unknown type";
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
    }
    const char* prefix = "uncaught: ";
    size_t at = 0;
    for (const char* p = prefix; *p && at + 1 < kReasonCapacity; ++p) gReason[at++] = *p;
    for (const char* p = what; *p && at + 1 < kReasonCapacity; ++p) gReason[at++] = (*p == '\n') ? ' ' : *p;
    gReason[at] = '\0';
    gHaveReason.store(true);
    std::abort();
}

void InstallAltStack() {
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE) &&
        current.ss_size >= sizeof gAltStack / 2)
        return;  // someone already gave this thread a usable alternate stack
    stack_t stack{};
    stack.ss_sp = gAltStack;
    stack.ss_size = sizeof gAltStack;
    stack.ss_flags = 0;
    ::sigaltstack(&stack, nullptr);
}

}  // namespace

std::string CrashDumpPath() {
    return UserStateFolder() + "Lumenor_Egret.dmp";
}

unsigned CrashFilterFlags() {
    return gFlags.load();
}

void InstallCrashFilter(unsigned flags) {
    gFlags.store(flags);
    if ((flags & 1u) == 0) return;

    std::string path = CrashDumpPath();
    // Room for "." + pid + ".tmp" after the path.
    if (path.size() + 32 < kPathCapacity) {
        std::memcpy(gDumpPath, path.c_str(), path.size() + 1);
        std::memcpy(gTempPath, path.c_str(), path.size() + 1);
        gDumpPathLength = path.size();
        gPathsReady = true;
    }

    // backtrace() loads libgcc on first use, which allocates: do that now, not in the handler.
    void* frames[4];
    ::backtrace(frames, 4);

    // Only the installing thread gets the alternate stack; other threads' handlers run on their
    // own stacks (enough for anything but a stack overflow).
    InstallAltStack();

    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signo : kFatalSignals) ::sigaction(signo, &action, nullptr);

    std::set_terminate(OnTerminate);
}

}  // namespace platform
