#pragma once
// What a windowing system provides to the toolkit. GtkBackend draws real windows; HeadlessBackend
// keeps windows in memory for tests. Both hand input to the same PaintManager entry points, so a
// test's click is hit-tested and routed exactly like a user's.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/core/Geometry.h"

namespace ui {

class WindowImplBase;

struct WindowSpec {
    std::string title;
    Rect rect;                // screen rectangle
    bool popup = false;       // no taskbar entry, no decorations (drop-downs, menus)
    bool toolWindow = false;  // utility window kept above its owner
    bool topMost = false;
    bool transparent = false;  // wants an RGBA surface when the screen composites
    bool tooltip = false;      // a hint beside the pointer: never takes focus or grabs input
};

class NativeWindow {
  public:
    virtual ~NativeWindow() = default;
    virtual void Show(bool show, bool takeFocus) = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetRect(const Rect& screenRect) = 0;
    virtual Rect GetRect() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string GetTitle() const = 0;
    virtual void Invalidate(const Rect& rect) = 0;
    virtual void Minimize() = 0;
    virtual bool IsMinimized() const = 0;
    virtual void ToggleMaximize() = 0;
    virtual bool IsMaximized() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void BeginMove(Point windowPt) = 0;
    // Moves the pointer to `windowPt` (window coordinates).
    virtual void WarpPointer(Point windowPt) {}
    // Pointer position in this window's coordinates, when known.
    virtual std::optional<Point> PointerPosition() const { return std::nullopt; }
};

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filterName;        // e.g. "Bin File"
    std::string filterPattern;     // e.g. "*.bin"
    std::string defaultExtension;  // appended when the user typed none, e.g. "bin"
    std::string initialFolder;
    std::string initialName;
    bool overwritePrompt = true;
    bool mustExist = true;  // open: file must exist
};

class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<NativeWindow> CreateNativeWindow(WindowImplBase& host, NativeWindow* owner,
                                                             const WindowSpec& spec) = 0;
    // Thread-safe: runs `task` on the UI thread later.
    virtual void Post(std::function<void()> task) = 0;
    // Runs the main loop until Quit; returns the quit code.
    virtual int Run() = 0;
    virtual void Quit(int code) = 0;
    // Runs a nested loop for the modal window `modal` until `done` is true.
    virtual void RunModal(WindowImplBase& modal, const std::function<bool()>& done) = 0;
    // Repeating timer on the UI thread.
    virtual uint64_t StartTimer(uint32_t elapseMs, std::function<void()> fire) = 0;
    virtual void StopTimer(uint64_t id) = 0;
    // Work area of the monitor (screen coordinates).
    virtual Rect WorkArea() const = 0;
    virtual bool IsCompositing() const = 0;
    // nullopt when the user cancelled.
    virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request,
                                                      NativeWindow* owner) = 0;
    // A plain native error dialog, for a failure the program ends on before its skinned windows can
    // speak (a broken skin). Returns when the user has closed it.
    virtual void ShowFatalError(const std::string& title, const std::string& text) = 0;
    // How long the pointer rests on a control before its tooltip shows: the desktop's setting.
    virtual uint32_t ToolTipDelayMs() const { return 500; }
};

}  // namespace ui
