#pragma once
// Folders the program reads from and writes to, and the file helpers every writer goes through.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Folder of the running executable, ending in '/'. Shipped files are found here, never in the
// current directory.
std::string ProgramFolder();

// Private per-user folder that survives reboots ($XDG_STATE_HOME/oakridge/, default
// ~/.local/state/oakridge/), created with mode 0700 on first use; ends in '/'.
std::string UserStateFolder();

// Per-user settings folder ($XDG_CONFIG_HOME/oakridge/, default ~/.config/oakridge/), ends in '/'.
std::string UserConfigFolder();

// The user's documents folder (the desktop's, else ~/Documents, else home), without a trailing '/'.
// Where file dialogs open when nothing better is known.
std::string UserDocumentsFolder();

// Per-user runtime folder for sockets ($XDG_RUNTIME_DIR/oakridge/, or a 0700 folder of ours under
// /tmp when the desktop gives none); ends in '/'.
std::string RuntimeFolder();

// Creates `path` and its missing parents with `mode`. True when the folder exists afterwards.
bool CreateFolderTree(const std::string& path, unsigned mode = 0700);

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// Replaces `path` atomically: writes a sibling temporary file, flushes it and renames it over the
// target, so readers see either the old or the new content, never a part. Temporary files that
// interrupted writes left in the folder are removed first (RemoveStaleTempFiles).
bool WriteFileAtomic(const std::string& path, const void* data, size_t size);
inline bool WriteFileAtomic(const std::string& path, std::string_view data) {
    return WriteFileAtomic(path, data.data(), data.size());
}

// Removes from `folder` the temporary files of WriteFileAtomic (".<name>.tmp-XXXXXX") that no write
// in progress holds: every write locks its temporary file until the rename, so an unlocked one was
// left by a save that died. Only regular files of the current user are touched.
void RemoveStaleTempFiles(const std::string& folder);

// Reads at most `maxBytes`; nullopt when the file cannot be opened.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes = SIZE_MAX);

}  // namespace platform
