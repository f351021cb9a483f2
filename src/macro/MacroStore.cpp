#include "macro/MacroStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/Paths.h"

namespace {

std::string Join(const std::string& folder, std::string_view name) {
    if (folder.empty()) return {};
    std::string path = folder;
    if (path.back() != '/') path += '/';
    path += name;
    return path;
}

bool HasBinExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".bin";
}

// Names of the regular "*.bin" files in `folder`, sorted; empty when it cannot be listed.
std::vector<std::string> ListBinFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (HasBinExtension(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return !path.empty() && platform::WriteFileAtomic(path, bytes.data(), bytes.size());
}

// Renames without replacing an existing file, like the Windows call the folder view relies on.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without RENAME_NOREPLACE: a hard link fails when the target exists.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

}  // namespace

MacroStore::MacroStore(std::string programFolder, std::string workingFolder)
    : programFolder_(std::move(programFolder)), workingFolder_(std::move(workingFolder)) {}

MacroStore& MacroStore::Instance() {
    static MacroStore* store = new MacroStore();  // lives until the process ends
    return *store;
}

void MacroStore::SetFolders(std::string programFolder, std::string workingFolder) {
    programFolder_ = std::move(programFolder);
    workingFolder_ = std::move(workingFolder);
}

bool MacroStore::IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::string MacroStore::WorkingPath(const std::string& name) const {
    return IsPlainName(name) ? Join(workingFolder_, name) : std::string();
}

std::string MacroStore::ShippedPath(const std::string& name) const {
    return IsPlainName(name) ? Join(programFolder_, name) : std::string();
}

std::string MacroStore::ReadPath(const std::string& name) const {
    const std::string working = WorkingPath(name);
    if (!working.empty() && platform::FileExists(working)) return working;
    return ShippedPath(name);
}

std::string MacroStore::FolderFilePath(DeviceModel model, const std::string& key) const {
    const char* folder = FileFormat(model).folderName;
    if (!folder || !IsPlainName(key)) return {};
    return Join(WorkingPath(folder), key);
}

bool MacroStore::LoadMacroFile(DeviceModel model, const std::string& name, bool asIs) {
    const std::string path = asIs ? name : ReadPath(name);
    if (path.empty()) return false;
    const auto bytes = platform::ReadFileBytes(path, kMacroFileReadLimit);
    if (!bytes) return false;
    List(model) = ParseMacroRecords(model, *bytes);
    return true;
}

bool MacroStore::SaveMacroFile(DeviceModel model, const MacroList& list, const std::string& name,
                               bool tempFolder) {
    // Records past the read limit would vanish at the next start; the old file is better kept whole.
    if (!HasRoomFor(model, list.size())) return false;
    if (tempFolder && !workingFolder_.empty()) platform::CreateFolderTree(workingFolder_);
    return WriteBytes(tempFolder ? WorkingPath(name) : name, SerializeMacroRecords(model, list));
}

void MacroStore::SyncMacroFolder(DeviceModel model) {
    if (const char* folder = FileFormat(model).folderName) SyncMacroFolder(model, folder);
}

void MacroStore::SyncMacroFolder(DeviceModel model, const std::string& folderName) {
    FileSet(model).clear();
    const std::string working = WorkingPath(folderName);
    if (working.empty() || !FileFormat(model).folderName) return;
    if (platform::FolderExists(working)) {
        for (const std::string& name : ListBinFiles(working))
            LoadFolderFile(model, Join(working, name), name);
        return;
    }
    // First run: shipped files are found beside the program, never in the current directory.
    const std::string shipped = ShippedPath(folderName);
    const std::vector<std::string> names =
        shipped.empty() ? std::vector<std::string>() : ListBinFiles(shipped);
    platform::CreateFolderTree(working);
    for (const std::string& name : names) {
        const std::string source = Join(shipped, name);
        const std::string target = Join(working, name);
        if (!platform::FileExists(target)) {
            if (const auto bytes = platform::ReadFileBytes(source)) WriteBytes(target, *bytes);
        }
        LoadFolderFile(model, source, name);
    }
}

MacroStore::FolderLoad MacroStore::LoadFolderFile(DeviceModel model, const std::string& path,
                                                  const std::string& key) {
    if (!FileFormat(model).folderName || !IsPlainName(key)) return FolderLoad::Unreadable;
    MacroList& list = FileSet(model)[key];
    const auto bytes = platform::ReadFileBytes(path, kMacroFileReadLimit);
    if (!bytes) return FolderLoad::Unreadable;
    MacroList added = ParseMacroRecords(model, *bytes);
    if (!HasRoomFor(model, list.size() + added.size())) return FolderLoad::NoRoom;
    for (const auto& entry : added) list.Add(std::move(*entry));
    return FolderLoad::Added;
}

bool MacroStore::SaveFolderFile(DeviceModel model, const std::string& key, const std::string& path,
                                bool tempFolder) {
    const MacroFileSet& set = FileSet(model);
    const auto it = set.find(key);
    if (it == set.end() || !HasRoomFor(model, it->second.size())) return false;
    std::string target = path;
    if (tempFolder) {
        target = FolderFilePath(model, key);
        if (target.empty()) return false;
        platform::CreateFolderTree(WorkingPath(FileFormat(model).folderName));
    }
    return WriteBytes(target, SerializeMacroRecords(model, it->second));
}

bool MacroStore::DeleteFolderFile(DeviceModel model, const std::string& key) {
    const std::string path = FolderFilePath(model, key);
    if (path.empty()) return false;
    FileSet(model).erase(key);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool MacroStore::RenameFolderFile(DeviceModel model, const std::string& oldKey, const std::string& newKey) {
    const std::string from = FolderFilePath(model, oldKey);
    const std::string to = FolderFilePath(model, newKey);
    MacroFileSet& set = FileSet(model);
    if (from.empty() || to.empty() || oldKey == newKey || set.count(newKey)) return false;
    if (platform::FileExists(from)) {
        if (!RenameNoReplace(from, to)) return false;
    } else if (platform::FileExists(to)) {
        return false;
    }
    if (auto node = set.extract(oldKey)) {
        node.key() = newKey;
        set.insert(std::move(node));
    }
    return true;
}

std::array<uint8_t, 4> MacroStore::LoadDriverTempData() const {
    const std::string path = ReadPath(kDriverTempFile);
    const auto bytes = path.empty() ? std::nullopt : platform::ReadFileBytes(path, 4);
    if (!bytes || bytes->size() < 4) return kDriverTempDefault;
    return {(*bytes)[0], (*bytes)[1], (*bytes)[2], (*bytes)[3]};
}

bool MacroStore::SaveDriverTempData(const std::array<uint8_t, 4>& bytes) const {
    if (!workingFolder_.empty()) platform::CreateFolderTree(workingFolder_);
    return WriteBytes(WorkingPath(kDriverTempFile), {bytes.begin(), bytes.end()});
}
