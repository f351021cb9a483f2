#pragma once
// Start-up and shut-down of the program around an already chosen toolkit backend.
#include <cstdint>
#include <memory>

#include "platform/MessageEndpoint.h"
#include "ui/backend/Backend.h"

namespace app {

class MainFrame;

// Points the toolkit at the program folder's skin; call after ui::Toolkit::Init.
void SetUpToolkitPaths();

// The main window and its message loop, on a toolkit already initialised with its backend and
// paths. Returns the process exit code (0 in every case).
int RunMainWindow();

// Which window messages other processes may post to the main window: only the device-change
// broadcast (devsim sends it after a plug or unplug). A second start only probes the endpoint.
bool AcceptsExternalMessage(uint32_t message);

// Claims the single-instance endpoint for the main window class; null when another copy runs.
// `sink` runs on the endpoint's thread for every accepted message.
using ExternalMessageSink = platform::MessageEndpoint::Handler;
std::unique_ptr<platform::MessageEndpoint> ClaimMessageEndpoint(ExternalMessageSink sink);

// The whole program on `backend`: single-instance check, crash filter, main window, message loop.
// Returns the process exit code (0 in every case).
int RunApplication(std::unique_ptr<ui::Backend> backend);

}  // namespace app
