// Private per-user folders: created 0700 and checked for owner and symlinks, so a folder planted
// by another user in a shared place (/tmp) is never used.
#include "platform/linux/PrivateFolder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform::linux_impl {

bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

bool EnsurePrivateFolder(const std::string& path) {
    if (path.empty()) return false;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    // Open without following a symlink, then judge what we actually opened (no check-then-use race).
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
    if (ok && (st.st_mode & 077) != 0) ok = ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok;
}

std::string AbsoluteEnvPath(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};  // unset, empty or relative: the XDG rules say ignore it
    return value;
}

std::string HomeFolder() {
    std::string home = AbsoluteEnvPath("HOME");
    if (!home.empty()) return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    struct passwd pw {};
    struct passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
        result->pw_dir != nullptr && result->pw_dir[0] == '/')
        return result->pw_dir;
    return {};
}

}  // namespace platform::linux_impl
