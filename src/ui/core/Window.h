#pragma once
// Base of every skinned window: builds the skin named by the subclass, owns the paint manager and
// the native window, and runs the DuiLib hooks (class name, skin file, CreateControl, InitWindow,
// Notify, HandleMessage, OnFinalMessage).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/backend/Backend.h"
#include "ui/core/Notification.h"
#include "ui/core/PaintManager.h"

namespace ui {

// A window as other threads and processes may hold it: posting to a closed window is a no-op.
using WindowHandle = uint64_t;

struct WindowStyle {
    bool popup = false;
    bool toolWindow = false;
    bool topMost = false;
    bool transparent = false;
    bool tooltip = false;
};

class WindowImplBase : public NotifyListener {
  public:
    WindowImplBase();
    ~WindowImplBase() override;
    WindowImplBase(const WindowImplBase&) = delete;
    WindowImplBase& operator=(const WindowImplBase&) = delete;

    // Hooks
    virtual std::string GetWindowClassName() const = 0;
    // Folder of the skin below the program folder; the entry point makes it the resource path.
    virtual std::string GetSkinFolder() const { return {}; }
    // Skin document relative to the resource path.
    virtual std::string GetSkinFile() const = 0;
    virtual std::unique_ptr<Control> CreateControl(std::string_view className) { return nullptr; }
    // Windows without a skin file (drop-downs) build their tree here.
    virtual std::unique_ptr<Control> CreateRootInCode() { return nullptr; }
    virtual void InitWindow() {}
    void Notify(Notification& notification) override {}
    // Sees every message before the default handling; set `handled` to stop it.
    virtual intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled);
    virtual void OnFinalMessage() {}

    // Builds the skin and the native window. An empty `rect` size takes the skin's size. False when
    // the skin could not be built (the toolkit reported it).
    bool Create(WindowImplBase* owner, const std::string& title, WindowStyle style, Rect rect);
    // Centres over the owner's rectangle, or on the work area without an owner.
    void CenterWindow();
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Runs until the window closes; returns the close result.
    int ShowModal();
    // Creates the window as a pop-up tool window over `owner` and runs it modally: the close result,
    // or -1 when the skin could not be built.
    int RunPopupModal(WindowImplBase* owner, const std::string& title);
    // Posts the close message; the window closes with `result` when it is handled.
    void Close(int result = 1);
    void PostMessage(uint32_t message, intptr_t wParam = 0, intptr_t lParam = 0);
    intptr_t SendMessage(uint32_t message, intptr_t wParam = 0, intptr_t lParam = 0);
    // Thread-safe posting by handle.
    static void PostMessageTo(WindowHandle window, uint32_t message, intptr_t wParam = 0,
                              intptr_t lParam = 0);

    PaintManager& GetManager() { return *manager_; }
    const PaintManager& GetManager() const { return *manager_; }
    template <typename T>
    T* Find(std::string_view name) const {
        return manager_->Find<T>(name);
    }
    WindowHandle GetHandle() const { return id_; }
    bool HasNativeWindow() const { return native_ != nullptr; }
    NativeWindow* GetNative() const { return native_.get(); }
    WindowImplBase* GetOwner() const;
    void SetTitle(const std::string& title);
    std::string GetTitle() const;
    Rect GetWindowRect() const;
    void SetWindowRect(const Rect& rect);
    // Sizes the window to the skin's initial size and centres it over the owner without repainting.
    void SizeToSkinAndCenter();
    bool IsClosed() const { return closed_; }
    int GetCloseResult() const { return closeResult_; }
    const WindowStyle& GetStyle() const { return style_; }

    // Called by backends.
    void OnNativePaint(Canvas& canvas, const Rect& dirty);
    void OnNativeResize(Size clientSize);
    void OnNativeCloseRequest();
    virtual void OnNativeFocusChanged(bool focused);

  private:
    void DestroyWindow();
    struct ModalState {
        bool closed = false;
        int result = 0;
    };

    WindowHandle id_ = 0;
    WindowHandle ownerId_ = 0;
    std::unique_ptr<PaintManager> manager_;
    std::unique_ptr<NativeWindow> native_;
    ListenerHandle selfListener_;
    WindowStyle style_;
    bool closed_ = false;
    int closeResult_ = 0;
    std::shared_ptr<ModalState> modal_;
};

}  // namespace ui
