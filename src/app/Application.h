#pragma once
// Start-up and shut-down of the program around an already chosen toolkit backend.
#include <memory>

#include "ui/backend/Backend.h"

namespace app {

class MainFrame;

// Points the toolkit at the program folder's skin; call after ui::Toolkit::Init.
void SetUpToolkitPaths();

// The main window and its message loop, on a toolkit already initialised with its backend and
// paths. Returns the process exit code (0 in every case).
int RunMainWindow();

// The whole program on `backend`: single-instance check, crash filter, main window, message loop.
// Returns the process exit code (0 in every case).
int RunApplication(std::unique_ptr<ui::Backend> backend);

}  // namespace app
