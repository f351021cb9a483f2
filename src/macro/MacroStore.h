#pragma once
// Every model's macros in memory and their files on disk. Shipped files are read from the program
// folder until a working copy exists; everything written goes below the working folder (or to a path
// the user chose), always replaced atomically. Runs on the UI thread only.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "macro/MacroFileFormat.h"
#include "macro/MacroFileSet.h"
#include "records/DeviceModel.h"
#include "records/MacroList.h"

class MacroStore {
  public:
    // The Heron driver's four bytes when "DriverTempCPIAndLedData.bin" cannot be read.
    static constexpr std::array<uint8_t, 4> kDriverTempDefault = {0x01, 0x02, 0xFF, 0x04};
    static constexpr const char* kDriverTempFile = "DriverTempCPIAndLedData.bin";

    MacroStore() = default;
    MacroStore(std::string programFolder, std::string workingFolder);

    // The process-wide store; the app gives it its folders before the pages load.
    static MacroStore& Instance();

    // Without folders every load and save fails rather than touching the current directory.
    void SetFolders(std::string programFolder, std::string workingFolder);
    const std::string& ProgramFolder() const { return programFolder_; }
    const std::string& WorkingFolder() const { return workingFolder_; }

    MacroList& List(DeviceModel model) { return lists_[Index(model)]; }
    // The keyboard has no folder; its set stays empty.
    MacroFileSet& FileSet(DeviceModel model) { return sets_[Index(model)]; }

    // Fills the model's list from a macro file. `asIs` clear: `name` is a bare file name, read from
    // the working folder when a copy is there, else from the program folder. `asIs` set: a full path
    // (import). False, with the list untouched, when the file cannot be read.
    bool LoadMacroFile(DeviceModel model, const std::string& name, bool asIs = false);
    bool LoadMacroFile(DeviceModel model) { return LoadMacroFile(model, FileFormat(model).fileName); }

    // Whether a macro file of the model may hold `records` records, so that loading reads them all.
    static bool HasRoomFor(DeviceModel model, size_t records) {
        return records <= FileFormat(model).maxRecords();
    }

    // Writes `list` in the model's record format: to the working folder under `name`, or with
    // `tempFolder` clear to the full path `name` (export). A list longer than loading reads is
    // refused and writes nothing.
    bool SaveMacroFile(DeviceModel model, const MacroList& list, const std::string& name,
                       bool tempFolder = true);
    bool SaveMacroFile(DeviceModel model) {
        return SaveMacroFile(model, List(model), FileFormat(model).fileName);
    }

    // Refills the model's set: from the working folder when it exists; on the first run from the
    // shipped folder, whose files are first copied into a new working folder (never overwriting).
    void SyncMacroFolder(DeviceModel model, const std::string& folderName);
    void SyncMacroFolder(DeviceModel model);

    enum class FolderLoad { Added, Unreadable, NoRoom };
    // Appends the macros of the file at `path` to the set's list `key`, which exists afterwards even
    // when the file cannot be read. NoRoom, changing nothing, when the joined list would not fit
    // into one macro file.
    FolderLoad LoadFolderFile(DeviceModel model, const std::string& path, const std::string& key);
    // Writes the list `key`: into the working folder, or with `tempFolder` clear to `path`. Refuses a
    // list longer than loading reads, like SaveMacroFile.
    bool SaveFolderFile(DeviceModel model, const std::string& key, const std::string& path, bool tempFolder);
    // Removes `key` from the set and its working file from the disk.
    bool DeleteFolderFile(DeviceModel model, const std::string& key);
    // Renames `oldKey` to `newKey` in the set and on disk; refuses a name already taken.
    bool RenameFolderFile(DeviceModel model, const std::string& oldKey, const std::string& newKey);

    // The Heron driver page's four bytes, found like a macro file.
    std::array<uint8_t, 4> LoadDriverTempData() const;
    bool SaveDriverTempData(const std::array<uint8_t, 4>& bytes) const;

    // A plain file name: not empty, not "." or "..", no '/' and no NUL. Keys and working-folder names
    // are checked with it so that no name can reach outside the working folder.
    static bool IsPlainName(std::string_view name);

  private:
    static size_t Index(DeviceModel model) { return static_cast<size_t>(model); }
    std::string WorkingPath(const std::string& name) const;
    std::string ShippedPath(const std::string& name) const;
    std::string ReadPath(const std::string& name) const;
    std::string FolderFilePath(DeviceModel model, const std::string& key) const;

    std::string programFolder_;
    std::string workingFolder_;
    std::array<MacroList, kDeviceModelCount> lists_;
    std::array<MacroFileSet, kDeviceModelCount> sets_;
};
