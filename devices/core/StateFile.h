#pragma once
// The file a simulated device lives in, and the small file helpers the libraries need. The libraries
// stand alone (they are vendor libraries to the program), so they carry their own atomic write.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// OAKRIDGE_DEVICE_DIR when set, else $XDG_STATE_HOME/oakridge/devices/ (~/.local/state/...); ends
// in '/'. Read on every call so a test can point the libraries at its own folder.
std::string DeviceFolder();

struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    int64_t mtimeNs = 0;
    int64_t size = 0;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentifyFile(const std::string& path);

// Writes beside the target, flushes and renames over it; creates missing folders (0700).
bool WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes, unsigned mode = 0600);

// Serialises read-modify-write of one state file between processes (flock on "<path>.lock").
// An empty path locks nothing.
class ProcessLock {
  public:
    explicit ProcessLock(const std::string& statePath);
    ~ProcessLock();
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

  private:
    int fd_ = -1;
};

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes);

}  // namespace sim
