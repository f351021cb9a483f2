// The crash filter on Linux: fatal-signal handlers (and a terminate handler that aborts into them)
// that write a text report to CrashDumpPath(). Everything the handler needs is prepared at install
// time; the handler itself only makes async-signal-safe calls and formats numbers by hand.
#include "platform/CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <sys/mman.h>
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

// The report being written: its descriptor (-1 when none), whether it is in place already, and the
// signal the process dies of. Only the reporting thread touches them.
int gReportFd = -1;
bool gReportInPlace = false;
int gReportSignal = 0;

// Enough for the handler and the unwinder, sanitizer instrumentation included.
constexpr size_t kAltStackSize = 256 * 1024;

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

// The report's fixed part comes first and is renamed into place before the backtrace is taken:
// walking a corrupt stack can fault again, and then the report must already be there.
void WriteReport(int signo, const siginfo_t* info) {
    BuildTempPath();
    int fd = ::open(gTempPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    gReportFd = fd;
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
        out.Text("\nmodules (/proc/self/maps):\n");
        out.Flush();
        CopyFile("/proc/self/maps", fd);
        out.Text("\nbacktrace:\n");
    }
    if (::fsync(fd) != 0 || ::rename(gTempPath, gDumpPath) != 0) {
        ::unlink(gTempPath);
        ::close(fd);
        gReportFd = -1;
        return;
    }
    gReportInPlace = true;

    // A fault while unwinding re-enters OnFatalSignal, which closes the report; so the fatal
    // signals must reach it rather than kill the process outright while blocked.
    sigset_t fatal;
    sigemptyset(&fatal);
    for (int s : kFatalSignals) sigaddset(&fatal, s);
    ::sigprocmask(SIG_UNBLOCK, &fatal, nullptr);
    void* frames[kMaxFrames];
    int count = ::backtrace(frames, kMaxFrames);
    ::backtrace_symbols_fd(frames, count, fd);
    ::sigprocmask(SIG_BLOCK, &fatal, nullptr);
    ::fsync(fd);
    ::close(fd);
    gReportFd = -1;
}

// A second fault on the reporting thread: keep what the report has so far, note why it ends there,
// and make sure it is in place.
void CloseReportAfter(int signo) {
    int fd = gReportFd;
    if (fd < 0) return;
    gReportFd = -1;
    {
        Writer out(fd);
        out.Text("\n(report cut short: ")
            .Text(SignalName(signo))
            .Text(" (")
            .Decimal(signo)
            .Text(") while writing it)\n");
    }
    ::fsync(fd);
    ::close(fd);
    if (!gReportInPlace && ::rename(gTempPath, gDumpPath) != 0) ::unlink(gTempPath);
    gReportInPlace = true;
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
            // A second fatal signal while writing the report: end it here, then die of the first.
            CloseReportAfter(signo);
            int original = gReportSignal != 0 ? gReportSignal : signo;
            DieWith(original);
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, original);
            ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
            ::_exit(128 + original);
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
    gReportSignal = signo;
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

// The calling thread's alternate signal stack, so that its handler has room after a stack
// overflow. Released when the thread ends, giving back whatever stack the thread had before.
class ThreadAltStack {
  public:
    ThreadAltStack() = default;
    ThreadAltStack(const ThreadAltStack&) = delete;
    ThreadAltStack& operator=(const ThreadAltStack&) = delete;
    ~ThreadAltStack() {
        if (!memory_) return;
        ::sigaltstack(&previous_, nullptr);
        ::munmap(memory_, mapped_);
    }

    void Install() {
        if (memory_) return;
        stack_t current{};
        if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE) &&
            current.ss_size >= kAltStackSize)
            return;  // someone already gave this thread a big enough one
        size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
        size_t mapped = kAltStackSize + page;
        void* memory =
            ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
        if (memory == MAP_FAILED) return;
        // A guard page below, so a handler that runs out of room faults instead of writing past it.
        ::mprotect(memory, page, PROT_NONE);
        stack_t stack{};
        stack.ss_sp = static_cast<char*>(memory) + page;
        stack.ss_size = kAltStackSize;
        if (::sigaltstack(&stack, &previous_) != 0) {
            ::munmap(memory, mapped);
            return;
        }
        memory_ = memory;
        mapped_ = mapped;
    }

  private:
    void* memory_ = nullptr;
    size_t mapped_ = 0;
    stack_t previous_{};
};

thread_local ThreadAltStack tAltStack;

}  // namespace

std::string CrashDumpPath() {
    return UserStateFolder() + "Lumenor_Egret.dmp";
}

unsigned CrashFilterFlags() {
    return gFlags.load();
}

void InstallThreadCrashStack() {
    tAltStack.Install();
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

    // This thread's alternate stack; every other thread the program starts asks for its own.
    InstallThreadCrashStack();

    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signo : kFatalSignals) ::sigaction(signo, &action, nullptr);

    std::set_terminate(OnTerminate);
}

}  // namespace platform
