#pragma once
// The program's message box, reachable from every layer: the application installs the skinned
// box at start-up, so editors and pages below it show the same window.
#include <functional>
#include <string>

namespace ui {

class WindowImplBase;

// Shows `text` (already resolved) over `owner`; true for OK.
using MessageBoxHandler = std::function<bool(WindowImplBase* owner, const std::string& text)>;
void SetMessageBoxHandler(MessageBoxHandler handler);
// False, showing nothing, when no handler is installed.
bool ShowMessageBox(WindowImplBase* owner, const std::string& text);

}  // namespace ui
