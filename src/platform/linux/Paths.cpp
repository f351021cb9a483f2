// Folders (program, state, config, runtime) and the atomic file helpers on Linux.
#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/linux/PrivateFolder.h"

namespace platform {

using linux_impl::AbsoluteEnvPath;
using linux_impl::EnsurePrivateFolder;
using linux_impl::HomeFolder;

namespace {

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path;
}

// The private folder of ours in /tmp, used when the desktop gives no runtime folder (and as the
// last resort when there is no home folder either). Empty when it is unusable.
std::string TmpPrivateFolder() {
    std::string path = "/tmp/oakridge-" + std::to_string(::getuid());
    return EnsurePrivateFolder(path) ? WithSlash(path) : std::string();
}

// "<$envName or $HOME/homeRelative>/oakridge/", created 0700. Without any home folder, a private
// folder below /tmp/oakridge-<uid>/; when even that is refused, "/dev/null/", under which nothing can
// be created, so writers fail cleanly instead of writing into the current directory.
std::string XdgFolder(const char* envName, const char* homeRelative, const char* noHomeLeaf) {
    std::string base = AbsoluteEnvPath(envName);
    if (base.empty()) {
        std::string home = HomeFolder();
        if (home.empty()) {
            std::string tmp = TmpPrivateFolder();
            if (tmp.empty() || !EnsurePrivateFolder(tmp + noHomeLeaf)) return "/dev/null/";
            return tmp + noHomeLeaf + "/";
        }
        base = WithoutTrailingSlashes(home) + "/" + homeRelative;
    }
    std::string folder = WithoutTrailingSlashes(base) + "/oakridge/";
    CreateFolderTree(folder, 0700);
    return folder;
}

bool WriteAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// WriteFileAtomic's temporary files are "." + target name + kTempMarker + mkostemp's six letters.
constexpr std::string_view kTempMarker = ".tmp-";
constexpr size_t kTempLetters = 6;
constexpr int kTempAttempts = 4;

bool IsTempName(std::string_view name) {
    if (name.size() < 2 + kTempMarker.size() + kTempLetters || name[0] != '.') return false;
    std::string_view letters = name.substr(name.size() - kTempLetters);
    bool alphanumeric = std::all_of(letters.begin(), letters.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
    return alphanumeric &&
           name.substr(name.size() - kTempLetters - kTempMarker.size(), kTempMarker.size()) == kTempMarker;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Creates the locked temporary file for `pattern` (filled into `temp`). The lock is what tells a
// sweep that this file is being written. A sweep can get in between the creation and our lock:
// then the file is the sweep's to remove, and we start again under a new name.
int CreateLockedTemp(const std::string& pattern, std::string& temp) {
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        temp = pattern;
        int fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK) return fd;  // no locks on this file system, so no sweeps either
            ::close(fd);
            continue;
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::lstat(temp.c_str(), &named) == 0 && SameFile(opened, named))
            return fd;
        ::close(fd);
    }
    return -1;
}

}  // namespace

std::string ProgramFolder() {
    static const std::string folder = [] {
        std::string buffer(256, '\0');
        for (;;) {
            ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
            if (n < 0) return std::string("./");
            if (static_cast<size_t>(n) < buffer.size()) {
                buffer.resize(static_cast<size_t>(n));
                break;
            }
            buffer.resize(buffer.size() * 2);
        }
        size_t slash = buffer.rfind('/');
        return slash == std::string::npos ? std::string("./") : buffer.substr(0, slash + 1);
    }();
    return folder;
}

std::string UserStateFolder() {
    return XdgFolder("XDG_STATE_HOME", ".local/state", "state");
}

std::string UserConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config", "config");
}

std::string UserDocumentsFolder() {
    // The desktop's own name for it (user-dirs.dirs, translated on many desktops).
    if (const char* documents = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS))
        if (*documents == '/' && FolderExists(documents)) return WithoutTrailingSlashes(documents);
    std::string home = WithoutTrailingSlashes(HomeFolder());
    if (home.empty()) return "/";
    if (FolderExists(home + "/Documents")) return home + "/Documents";
    return home;
}

std::string RuntimeFolder() {
    std::string xdg = WithoutTrailingSlashes(AbsoluteEnvPath("XDG_RUNTIME_DIR"));
    if (!xdg.empty() && linux_impl::IsPrivateFolder(xdg)) {
        std::string folder = xdg + "/oakridge";
        if (EnsurePrivateFolder(folder)) return folder + "/";
    }
    std::string tmp = TmpPrivateFolder();
    if (!tmp.empty()) return tmp;
    // /tmp/oakridge-<uid> is taken by someone else: use a folder below our own state folder.
    std::string fallback = UserStateFolder() + "run";
    EnsurePrivateFolder(fallback);
    return fallback + "/";
}

bool CreateFolderTree(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    if (FolderExists(path)) return true;
    // Walk the components left to right, creating each missing one.
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        std::string part = path.substr(0, pos);
        if (part.empty() || part.back() == '/') continue;  // doubled slash
        if (::mkdir(part.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) return false;
    }
    return FolderExists(path);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void RemoveStaleTempFiles(const std::string& folder) {
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    int listFd = ::dup(dirFd);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0) ::close(listFd);
        ::close(dirFd);
        return;
    }
    std::vector<std::string> stale;
    while (dirent* entry = ::readdir(dir))
        if (IsTempName(entry->d_name)) stale.emplace_back(entry->d_name);
    ::closedir(dir);
    for (const std::string& name : stale) {
        int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;  // gone already, or a symlink: not ours
        struct stat opened {};
        struct stat named {};
        // A save in progress holds the lock until its rename; a save that died holds nothing.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(opened, named))
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
    ::close(dirFd);
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
    if (path.empty() || path.back() == '/') return false;
    size_t slash = path.rfind('/');
    std::string folder =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string pattern = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." +
                          name + std::string(kTempMarker) + std::string(kTempLetters, 'X');

    // Interrupted saves leave their temporary files; the next write into the folder clears them.
    RemoveStaleTempFiles(folder);
    std::string temp;
    int fd = CreateLockedTemp(pattern, temp);
    if (fd < 0) return false;
    // Keep the permissions of the file we replace; a new file stays private (mkostemp gives 0600).
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);

    bool ok = WriteAll(fd, data, size) && ::fsync(fd) == 0;
    // Renamed while still locked, so no sweep can take the file between the write and the rename.
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    ::close(fd);  // after fsync, closing cannot lose what was written
    if (!ok) return false;
    // Make the rename itself durable.
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        bytes.reserve(std::min(maxBytes, static_cast<size_t>(st.st_size)));
    uint8_t chunk[65536];
    while (bytes.size() < maxBytes) {
        size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
        ssize_t n = ::read(fd, chunk, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;  // e.g. a folder: it opens but does not read
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

}  // namespace platform
