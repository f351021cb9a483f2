// MessageEndpoint on Linux: a Unix stream socket "<class>.sock" in RuntimeFolder(), served by one
// thread. A sibling "<class>.lock" (flock, held only while claiming) makes simultaneous starts
// race-free; liveness is decided by whether anything answers on the socket, so a socket left by a
// crashed process is taken over.
#include "platform/MessageEndpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/CrashHandler.h"
#include "platform/Paths.h"
#include "platform/Trace.h"
#include "platform/linux/EndpointWire.h"

namespace platform {

using namespace linux_impl;

namespace {

using SteadyClock = std::chrono::steady_clock;

// Real time, never CurrentClock(): a test's ManualClock must not turn these waits into spins.
constexpr auto kPostTimeout = std::chrono::milliseconds(1000);
// A local client sends its record right after connecting; one that stays silent must not hold up
// the others for long, so the server gives it a quarter of a Post's patience.
constexpr auto kServeTimeout = std::chrono::milliseconds(250);
constexpr auto kLockTimeout = std::chrono::milliseconds(2000);

struct EndpointPaths {
    std::string socket;
    std::string lock;
};

bool PathsFor(const std::string& className, EndpointPaths& paths) {
    std::string base = EndpointBaseName(className);
    if (base.empty()) return false;
    std::string folder = RuntimeFolder();
    paths.socket = folder + base + ".sock";
    paths.lock = folder + base + ".lock";
    return paths.socket.size() < sizeof(sockaddr_un::sun_path);
}

sockaddr_un AddressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);  // length checked in PathsFor
    return address;
}

int MsLeft(SteadyClock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` on `fd` until the deadline; when `wakeFd` is given, returns false as soon as
// it becomes readable too.
bool WaitFor(int fd, short events, SteadyClock::time_point deadline, int wakeFd = -1) {
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        int n = ::poll(fds, wakeFd >= 0 ? 2 : 1, MsLeft(deadline));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        if (wakeFd >= 0 && fds[1].revents != 0) return false;
        return fds[0].revents != 0;
    }
}

// A connected, non-blocking client socket, or -1. `busy` is set when a listener exists but its
// backlog is full.
int Connect(const std::string& path, bool& busy) {
    busy = false;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    sockaddr_un address = AddressOf(path);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    int error = errno;
    ::close(fd);
    busy = error == EAGAIN;
    errno = error;
    return -1;
}

enum class Holder { None, Live, Stale };

Holder Probe(const std::string& socketPath) {
    bool busy = false;
    int fd = Connect(socketPath, busy);
    if (fd >= 0) {
        ::close(fd);  // the server sees a connection without a record and drops it
        return Holder::Live;
    }
    if (busy) return Holder::Live;
    return errno == ENOENT ? Holder::None : Holder::Stale;
}

// The claim lock: an flock on the sibling ".lock" file, taken with a bounded wait.
class ClaimLock {
  public:
    explicit ClaimLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0) return;
        auto deadline = SteadyClock::now() + kLockTimeout;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || SteadyClock::now() >= deadline) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        locked_ = true;
    }
    ~ClaimLock() {
        if (fd_ >= 0) ::close(fd_);  // releases the flock
    }
    ClaimLock(const ClaimLock&) = delete;
    ClaimLock& operator=(const ClaimLock&) = delete;
    bool Locked() const { return locked_; }

  private:
    int fd_ = -1;
    bool locked_ = false;
};

class LinuxMessageEndpoint final : public MessageEndpoint {
  public:
    LinuxMessageEndpoint(EndpointPaths paths, Accept accept, Handler handler)
        : paths_(std::move(paths)), accept_(std::move(accept)), handler_(std::move(handler)) {}

    ~LinuxMessageEndpoint() override {
        if (thread_.joinable()) {
            char byte = 0;
            while (::write(wakeWrite_, &byte, 1) < 0 && errno == EINTR) {
            }
            thread_.join();
        }
        if (listenFd_ >= 0) {
            // Unlink while still listening, under the claim lock: a concurrent claimer either sees
            // us alive or finds the name free, never a half-removed endpoint.
            ClaimLock lock(paths_.lock);
            struct stat st {};
            if (::lstat(paths_.socket.c_str(), &st) == 0 && st.st_dev == socketDev_ &&
                st.st_ino == socketIno_)
                ::unlink(paths_.socket.c_str());
            ::close(listenFd_);
        }
        if (wakeRead_ >= 0) ::close(wakeRead_);
        if (wakeWrite_ >= 0) ::close(wakeWrite_);
    }

    // Binds and starts serving; the caller holds the claim lock. False leaves the endpoint inert.
    bool Listen() {
        ::unlink(paths_.socket.c_str());  // a stale socket of a dead holder, or nothing
        listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listenFd_ < 0) return false;
        sockaddr_un address = AddressOf(paths_.socket);
        struct stat st {};
        if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::chmod(paths_.socket.c_str(), 0600) != 0 || ::lstat(paths_.socket.c_str(), &st) != 0 ||
            ::listen(listenFd_, 16) != 0) {
            ::close(listenFd_);
            listenFd_ = -1;
            return false;
        }
        socketDev_ = st.st_dev;
        socketIno_ = st.st_ino;
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
        wakeRead_ = pipeFds[0];
        wakeWrite_ = pipeFds[1];
        thread_ = std::thread([this] { Run(); });
        return true;
    }

  private:
    void Run() {
        InstallThreadCrashStack();
        for (;;) {
            pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
            int n = ::poll(fds, 2, -1);
            if (n < 0) {
                if (errno == EINTR) continue;
                Trace("MessageEndpoint: poll failed");
                return;
            }
            if (fds[1].revents != 0) return;
            if (fds[0].revents == 0) continue;
            int conn = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (conn < 0) continue;
            Serve(conn);
            ::close(conn);
        }
    }

    void Serve(int conn) {
        // The folder is private already; refusing other users' processes is a second fence.
        ucred cred{};
        socklen_t credSize = sizeof cred;
        if (::getsockopt(conn, SOL_SOCKET, SO_PEERCRED, &cred, &credSize) != 0 || cred.uid != ::geteuid())
            return;
        uint8_t bytes[kRecordSize];
        size_t have = 0;
        auto deadline = SteadyClock::now() + kServeTimeout;
        while (have < kRecordSize) {
            ssize_t n = ::recv(conn, bytes + have, kRecordSize - have, 0);
            if (n > 0) {
                have += static_cast<size_t>(n);
            } else if (n == 0) {
                return;  // a liveness probe, or a client that gave up
            } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
                if (!WaitFor(conn, POLLIN, deadline, wakeRead_)) return;
            } else if (errno != EINTR) {
                return;
            }
        }
        EndpointRecord record = DecodeRecord(bytes);
        bool accepted = false;
        try {
            accepted = accept_ && accept_(record.message);
            // Before the reply, so that a Post that returned true has been handled.
            if (accepted && handler_) handler_(record.message, record.wParam, record.lParam);
        } catch (...) {
            Trace("MessageEndpoint: a message handler threw; message refused");
            accepted = false;
        }
        uint8_t reply = accepted ? kReplyAccepted : kReplyRefused;
        while (::send(conn, &reply, 1, MSG_NOSIGNAL) < 0 && errno == EINTR) {
        }
    }

    const EndpointPaths paths_;
    const Accept accept_;
    const Handler handler_;
    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    dev_t socketDev_ = 0;
    ino_t socketIno_ = 0;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<MessageEndpoint> MessageEndpoint::Claim(const std::string& className, Accept accept,
                                                        Handler handler) {
    EndpointPaths paths;
    bool usable = PathsFor(className, paths);
    auto endpoint = std::make_unique<LinuxMessageEndpoint>(paths, std::move(accept), std::move(handler));
    if (!usable) {
        Trace("MessageEndpoint: no usable socket path for '" + className + "'; running without an endpoint");
        return endpoint;
    }
    ClaimLock lock(paths.lock);
    if (!lock.Locked()) Trace("MessageEndpoint: claim lock not taken; claiming anyway");
    if (Probe(paths.socket) == Holder::Live) return nullptr;
    if (!endpoint->Listen())
        Trace("MessageEndpoint: cannot listen on " + paths.socket + "; running without an endpoint");
    return endpoint;
}

bool MessageEndpoint::IsClaimed(const std::string& className) {
    EndpointPaths paths;
    return PathsFor(className, paths) && Probe(paths.socket) == Holder::Live;
}

bool MessageEndpoint::Post(const std::string& className, uint32_t message, int64_t wParam, int64_t lParam) {
    EndpointPaths paths;
    if (!PathsFor(className, paths)) return false;
    auto deadline = SteadyClock::now() + kPostTimeout;
    int fd = -1;
    for (;;) {
        bool busy = false;
        fd = Connect(paths.socket, busy);
        if (fd >= 0) break;
        if (!busy || SteadyClock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));  // backlog full: the holder is busy
    }
    auto bytes = EncodeRecord({message, wParam, lParam});
    size_t sent = 0;
    bool ok = true;
    while (ok && sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0)
            sent += static_cast<size_t>(n);
        else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            ok = WaitFor(fd, POLLOUT, deadline);
        else if (!(n < 0 && errno == EINTR))
            ok = false;
    }
    uint8_t reply = kReplyRefused;
    while (ok) {
        ssize_t n = ::recv(fd, &reply, 1, 0);
        if (n == 1) break;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            ok = WaitFor(fd, POLLIN, deadline);
        else if (!(n < 0 && errno == EINTR))
            ok = false;  // closed without a reply
    }
    ::close(fd);
    return ok && reply == kReplyAccepted;
}

}  // namespace platform
