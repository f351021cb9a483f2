#pragma once
// The open and save dialogs, through the backend (GTK file chooser, or a test's answer).
#include <functional>
#include <optional>
#include <string>

#include "ui/backend/Backend.h"
#include "ui/core/Window.h"

namespace ui {

// Where dialogs open when the request names no folder, and what learns the folder of each path
// the user accepted. The application installs them; without them the chooser picks.
struct FileDialogPlaces {
    std::function<std::string()> startFolder;
    std::function<void(const std::string& folder)> accepted;
};
void SetFileDialogPlaces(FileDialogPlaces places);

// nullopt when the user cancelled.
std::optional<std::string> ShowFileDialog(WindowImplBase* owner, const FileDialogRequest& request);

}  // namespace ui
