#pragma once
// Internal: makes sure a folder is private to the current user before anything is put in it.
#include <string>

namespace platform::linux_impl {

// Creates `path` (its parent must exist) with mode 0700 when missing. True only when `path` is
// then a real directory (not a symlink) owned by the effective user and closed to group and
// others; a folder of ours that is too open is tightened to 0700. Anything else is refused.
bool EnsurePrivateFolder(const std::string& path);

// True when `path` is a real directory owned by the effective user with no group/other access.
bool IsPrivateFolder(const std::string& path);

// Value of an environment variable when it is set to an absolute path, else empty.
std::string AbsoluteEnvPath(const char* name);

// The user's home folder: $HOME when absolute, else the password database; empty when unknown.
std::string HomeFolder();

}  // namespace platform::linux_impl
