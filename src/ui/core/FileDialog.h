#pragma once
// The open and save dialogs, through the backend (GTK file chooser, or a test's answer).
#include <optional>
#include <string>

#include "ui/backend/Backend.h"
#include "ui/core/Toolkit.h"
#include "ui/core/Window.h"

namespace ui {

inline std::optional<std::string> ShowFileDialog(WindowImplBase* owner, const FileDialogRequest& request) {
    return Toolkit::GetBackend().ShowFileDialog(request, owner ? owner->GetNative() : nullptr);
}

}  // namespace ui
