#include "core/StateFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace sim {
namespace {

bool CreateFolders(const std::string& folder) {
    std::string partial;
    for (size_t i = 0; i < folder.size(); ++i) {
        partial += folder[i];
        if ((folder[i] == '/' || i + 1 == folder.size()) && partial.size() > 1) {
            if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
        }
    }
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

}  // namespace

std::string DeviceFolder() {
    if (const char* dir = std::getenv("OAKRIDGE_DEVICE_DIR"); dir && *dir) return WithSlash(dir);
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return WithSlash(state) + "oakridge/devices/";
    const char* home = std::getenv("HOME");
    return WithSlash(home && *home ? home : "/tmp") + ".local/state/oakridge/devices/";
}

FileIdentity IdentifyFile(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return {};
    return {true, st.st_dev, st.st_ino, int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<int64_t>(st.st_size)};
}

bool WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes, unsigned mode) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && !CreateFolders(path.substr(0, slash + 1))) return false;
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    const bool ok = written == bytes.size() && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (close(fd) != 0 || !ok || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

ProcessLock::ProcessLock(const std::string& statePath) {
    if (statePath.empty()) return;
    const size_t slash = statePath.rfind('/');
    if (slash != std::string::npos) CreateFolders(statePath.substr(0, slash + 1));
    fd_ = open((statePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
        while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
}

ProcessLock::~ProcessLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t n;
    while (bytes.size() < maxBytes && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    if (bytes.size() > maxBytes) bytes.resize(maxBytes);
    return bytes;
}

}  // namespace sim
