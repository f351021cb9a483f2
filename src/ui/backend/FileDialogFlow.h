#pragma once
// What every backend's file dialog does around its native chooser. A save dialog with a default
// extension adds it to the name the user accepted, and asks before replacing the file that name
// then stands for: the chooser only saw the name as typed, so its own question would be about
// another file ("mine" rather than "mine.bin"). Declining goes back to the chooser.
#include <optional>
#include <string>

#include "ui/backend/Backend.h"

namespace ui {

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // Shows the native chooser; the accepted path, or nullopt when cancelled. `chooserConfirms`
    // tells whether the chooser asks itself before an existing file is replaced.
    virtual std::optional<std::string> Pick(const FileDialogRequest& request, bool chooserConfirms) = 0;
    // Asks whether the existing `path` may be replaced.
    virtual bool ConfirmReplace(const std::string& path) = 0;
};

// `accepted` with the request's default extension when its file name has none (save dialogs only).
std::string WithDefaultExtension(const FileDialogRequest& request, const std::string& accepted);

// Runs `chooser` for `request` until the user settles on a path or cancels.
std::optional<std::string> RunFileDialog(const FileDialogRequest& request, FileChooser& chooser);

}  // namespace ui
