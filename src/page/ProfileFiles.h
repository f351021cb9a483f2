#pragma once
// Profile files: the device's raw configuration memory saved to a file, loaded back into the
// device, and the default files in the program's folder. The model's image size, library calls,
// waits and default files are data, so every device page uses this one unit.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/ModelTable.h"
#include "ui/core/Window.h"

namespace page {

// The model's configuration memory, from its table row.
using ProfileFileModel = ProfileImageSpec;

enum class ProfileFileResult {
    Done,
    DeviceUnavailable,  // the device did not open
    DeviceRefused,      // the library refused the save or the load
    FileUnreadable,
    FileTooLong,  // not this model's memory image
    WriteFailed,
};

class ProfileFiles {
  public:
    // Replaces the program's message box for the failure notices (tests); null restores it.
    using MessageShower = std::function<void(ui::WindowImplBase* owner, const std::string& text)>;
    static void SetMessageShower(MessageShower shower);

    // Titles and filter name of the dialogs (text references).
    static constexpr const char* kSaveTitle = "%{650}";
    static constexpr const char* kLoadTitle = "%{651}";
    static constexpr const char* kFilterName = "%{654}";

    // The save and open dialogs ("*.bin"); nullopt when cancelled. A save suggests
    // "<modelName>-profile.bin".
    static std::optional<std::string> AskSavePath(ui::WindowImplBase* owner,
                                                  const std::string& modelName = {});
    static std::optional<std::string> AskOpenPath(ui::WindowImplBase* owner);
    // `fileName` in the program folder.
    static std::string DefaultFile(const char* fileName);

    // Worker: opens the device with `open`, saves its image to `path` (atomically).
    static ProfileFileResult Save(const ProfileFileModel& model, const std::string& path,
                                  const std::function<bool()>& open);
    // Worker: reads `path` (a shorter file is padded with zeros), opens the device and loads it.
    // The caller reads the device again after Done.
    static ProfileFileResult Load(const ProfileFileModel& model, const std::string& path,
                                  const std::function<bool()>& open);

    // The text reference that explains a failure; empty for results the user needs no word on.
    static std::string MessageFor(ProfileFileResult result, bool saving);
    // The status line's reason for a failed save, load or restore (`resetting`); empty for Done.
    static std::string StatusFor(ProfileFileResult result, bool saving, bool resetting);
    // UI thread: asks in the message box whether to restore the defaults; true when the user agrees.
    static bool ConfirmRestore(ui::WindowImplBase* owner);
    // UI thread: tells the user about a failure worth a word.
    static void Report(ui::WindowImplBase* owner, ProfileFileResult result, bool saving);
    // UI thread: shows `text` (a text reference) in the message box.
    static void Show(ui::WindowImplBase* owner, const std::string& text);
};

}  // namespace page
