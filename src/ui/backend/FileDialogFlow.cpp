#include "ui/backend/FileDialogFlow.h"

#include "platform/Paths.h"

namespace ui {

std::string WithDefaultExtension(const FileDialogRequest& request, const std::string& accepted) {
    if (!request.save || request.defaultExtension.empty()) return accepted;
    size_t slash = accepted.find_last_of('/');
    std::string base = slash == std::string::npos ? accepted : accepted.substr(slash + 1);
    if (base.empty() || base.find('.') != std::string::npos) return accepted;
    return accepted + "." + request.defaultExtension;
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request, FileChooser& chooser) {
    // With a default extension the chooser's own question would be about the name as typed, so the
    // question is ours, about the file that is really written.
    const bool completes = request.save && !request.defaultExtension.empty();
    const bool chooserConfirms = request.save && request.overwritePrompt && !completes;
    FileDialogRequest shown = request;
    for (;;) {
        auto accepted = chooser.Pick(shown, chooserConfirms);
        if (!accepted || accepted->empty() || !completes) return accepted;
        std::string path = WithDefaultExtension(request, *accepted);
        if (!request.overwritePrompt || !platform::FileExists(path) || chooser.ConfirmReplace(path))
            return path;
        // Not to be replaced: back to the chooser, where the user left it.
        size_t slash = accepted->find_last_of('/');
        shown.initialFolder =
            slash == std::string::npos ? std::string() : accepted->substr(0, slash == 0 ? 1 : slash);
        shown.initialName = slash == std::string::npos ? *accepted : accepted->substr(slash + 1);
    }
}

}  // namespace ui
