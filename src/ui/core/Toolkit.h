#pragma once
// Process-wide toolkit state: the backend, resource paths, the message loop and the registry of
// live windows (so posted messages never reach a destroyed window).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend/Backend.h"

namespace ui {

class WindowImplBase;

class Toolkit {
  public:
    static void Init(std::unique_ptr<Backend> backend);
    // Releases the shared resources (image cache, backend). Windows must be gone.
    static void Shutdown();
    static bool IsInitialised();
    static Backend& GetBackend();

    // Skin root; skin documents and images are resolved below it. Always ends in '/'.
    static void SetResourcePath(std::string path);
    static const std::string& GetResourcePath();
    // Absolute path of a skin-relative path ("XML\x.xml" or "Image/y.png"); '\' becomes '/'.
    static std::string ResolvePath(const std::string& relative);
    static std::string NormaliseSeparators(std::string path);
    static void SetInstancePath(std::string path);
    static const std::string& GetInstancePath();

    static int MessageLoop();
    static void PostQuitMessage(int code);
    // Thread-safe.
    static void PostTask(std::function<void()> task);
    static bool IsUiThread();

    // Reports a skin that cannot be loaded. The default prints the report and ends the process;
    // tests install a handler that records it instead.
    using SkinErrorHandler = std::function<void(const std::string& report)>;
    static void SetSkinErrorHandler(SkinErrorHandler handler);
    static void ReportSkinError(const std::string& report);

    static uint64_t RegisterWindow(WindowImplBase* window);
    static void UnregisterWindow(uint64_t id);
    static WindowImplBase* LookupWindow(uint64_t id);
    static std::vector<WindowImplBase*> Windows();
    static WindowImplBase* FindWindowByClass(const std::string& className);
};

}  // namespace ui
