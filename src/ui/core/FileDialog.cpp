#include "ui/core/FileDialog.h"

#include "ui/core/Toolkit.h"

namespace ui {
namespace {

FileDialogPlaces& Places() {
    static FileDialogPlaces places;
    return places;
}

}  // namespace

void SetFileDialogPlaces(FileDialogPlaces places) {
    Places() = std::move(places);
}

std::optional<std::string> ShowFileDialog(WindowImplBase* owner, const FileDialogRequest& request) {
    FileDialogRequest shown = request;
    if (shown.initialFolder.empty() && Places().startFolder) shown.initialFolder = Places().startFolder();
    auto path = Toolkit::GetBackend().ShowFileDialog(shown, owner ? owner->GetNative() : nullptr);
    if (path && !path->empty() && Places().accepted) {
        size_t slash = path->find_last_of('/');
        if (slash != std::string::npos) Places().accepted(slash == 0 ? "/" : path->substr(0, slash));
    }
    return path;
}

}  // namespace ui
