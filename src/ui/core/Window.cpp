#include "ui/core/Window.h"

#include "platform/Trace.h"
#include "ui/builder/Builder.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"

namespace ui {

WindowImplBase::WindowImplBase() : manager_(std::make_unique<PaintManager>(this)) {
    id_ = Toolkit::RegisterWindow(this);
}

WindowImplBase::~WindowImplBase() {
    Toolkit::UnregisterWindow(id_);
    selfListener_.Reset();
    native_.reset();
    manager_.reset();
}

WindowImplBase* WindowImplBase::GetOwner() const {
    return ownerId_ ? Toolkit::LookupWindow(ownerId_) : nullptr;
}

bool WindowImplBase::Create(WindowImplBase* owner, const std::string& title, WindowStyle style, Rect rect) {
    style_ = style;
    ownerId_ = owner ? owner->GetHandle() : 0;
    if (GetSkinFile().empty()) {
        manager_->AttachRoot(CreateRootInCode());
    } else {
        Builder builder;
        auto result = builder.Build(GetSkinFile(), *manager_,
                                    [this](std::string_view cls) { return CreateControl(cls); });
        if (!result.root) {
            Toolkit::ReportSkinError(result.report.ToString());
            return false;
        }
        if (!result.report.Empty()) platform::Trace(result.report.ToString());
        manager_->AttachRoot(std::move(result.root));
    }

    if (rect.Width() <= 0 || rect.Height() <= 0) {
        Size s = manager_->GetInitSize();
        rect.right = rect.left + (s.cx > 0 ? s.cx : 400);
        rect.bottom = rect.top + (s.cy > 0 ? s.cy : 300);
    }
    WindowSpec spec;
    spec.title = title.empty() ? GetWindowClassName() : title;
    spec.rect = rect;
    spec.popup = style.popup;
    spec.toolWindow = style.toolWindow;
    spec.topMost = style.topMost;
    spec.transparent = style.transparent;
    spec.tooltip = style.tooltip;
    native_ = Toolkit::GetBackend().CreateNativeWindow(*this, owner ? owner->GetNative() : nullptr, spec);
    manager_->SetClientSize({rect.Width(), rect.Height()});
    selfListener_ = manager_->AddNotifier(this);
    InitWindow();
    return true;
}

void WindowImplBase::CenterWindow() {
    if (!native_) return;
    Rect r = native_->GetRect();
    Rect area = Toolkit::GetBackend().WorkArea();
    if (auto* owner = GetOwner(); owner && owner->native_ && !owner->native_->IsMinimized())
        area = owner->native_->GetRect();
    int x = area.left + (area.Width() - r.Width()) / 2;
    int y = area.top + (area.Height() - r.Height()) / 2;
    Rect work = Toolkit::GetBackend().WorkArea();
    // Keep the window on the work area even when its owner hangs off the screen.
    x = std::max(work.left, std::min(x, work.right - r.Width()));
    y = std::max(work.top, std::min(y, work.bottom - r.Height()));
    native_->SetRect({x, y, x + r.Width(), y + r.Height()});
}

void WindowImplBase::SizeToSkinAndCenter() {
    if (!native_) return;
    Size s = manager_->GetInitSize();
    Rect r = native_->GetRect();
    if (s.cx > 0 && s.cy > 0) {
        native_->SetRect({r.left, r.top, r.left + s.cx, r.top + s.cy});
        manager_->SetClientSize(s);
    }
    CenterWindow();
}

void WindowImplBase::ShowWindow(bool show, bool takeFocus) {
    if (native_) native_->Show(show, takeFocus);
}

int WindowImplBase::RunPopupModal(WindowImplBase* owner, const std::string& title) {
    WindowStyle style;
    style.popup = true;
    style.toolWindow = true;
    if (!Create(owner, title, style, {})) return -1;
    return ShowModal();
}

int WindowImplBase::ShowModal() {
    if (!native_) return -1;
    modal_ = std::make_shared<ModalState>();
    auto state = modal_;
    WindowHandle ownerId = ownerId_;
    if (auto* owner = GetOwner(); owner && owner->native_) owner->native_->SetEnabled(false);
    ShowWindow(true, true);
    Toolkit::GetBackend().RunModal(*this, [state] { return state->closed; });
    // `this` may be gone now: only the shared state and the owner's handle are used below.
    if (auto* owner = ownerId ? Toolkit::LookupWindow(ownerId) : nullptr; owner && owner->native_) {
        owner->native_->SetEnabled(true);
        owner->native_->Show(true, true);
    }
    return state->result;
}

void WindowImplBase::Close(int result) {
    PostMessage(kWmClose, result, 0);
}

void WindowImplBase::PostMessage(uint32_t message, intptr_t wParam, intptr_t lParam) {
    PostMessageTo(id_, message, wParam, lParam);
}

void WindowImplBase::PostMessageTo(WindowHandle window, uint32_t message, intptr_t wParam, intptr_t lParam) {
    Toolkit::PostTask([window, message, wParam, lParam] {
        if (auto* w = Toolkit::LookupWindow(window)) w->SendMessage(message, wParam, lParam);
    });
}

intptr_t WindowImplBase::SendMessage(uint32_t message, intptr_t wParam, intptr_t lParam) {
    intptr_t result = 0;
    if (manager_->FilterMessage(message, wParam, lParam, result)) return result;
    bool handled = false;
    result = HandleMessage(message, wParam, lParam, handled);
    if (handled) return result;
    switch (message) {
        case kWmClose:
            if (!closed_) {
                closeResult_ = static_cast<int>(wParam);
                DestroyWindow();
            }
            return 0;
        case kWmSysCommand:
            if (!native_) return 0;
            if ((wParam & 0xFFF0) == kScMinimize)
                native_->Minimize();
            else if ((wParam & 0xFFF0) == kScMaximize || (wParam & 0xFFF0) == kScRestore)
                native_->ToggleMaximize();
            return 0;
        case kWmNcLButtonDblClk:
            if (native_ && !style_.popup && !style_.toolWindow) native_->ToggleMaximize();
            return 0;
        default:
            return 0;
    }
}

intptr_t WindowImplBase::HandleMessage(uint32_t, intptr_t, intptr_t, bool& handled) {
    handled = false;
    return 0;
}

void WindowImplBase::DestroyWindow() {
    closed_ = true;
    if (native_) native_->Show(false, false);
    native_.reset();
    if (modal_) {
        modal_->closed = true;
        modal_->result = closeResult_;
    }
    SendMessage(kWmDestroy, 0, 0);
    OnFinalMessage();  // may delete this
}

void WindowImplBase::SetTitle(const std::string& title) {
    if (native_) native_->SetTitle(title);
}

std::string WindowImplBase::GetTitle() const {
    return native_ ? native_->GetTitle() : std::string();
}

Rect WindowImplBase::GetWindowRect() const {
    return native_ ? native_->GetRect() : Rect{};
}

void WindowImplBase::SetWindowRect(const Rect& rect) {
    if (!native_) return;
    native_->SetRect(rect);
    manager_->SetClientSize({rect.Width(), rect.Height()});
}

void WindowImplBase::OnNativePaint(Canvas& canvas, const Rect& dirty) {
    manager_->Paint(canvas, dirty);
}

void WindowImplBase::OnNativeResize(Size clientSize) {
    manager_->SetClientSize(clientSize);
}

void WindowImplBase::OnNativeCloseRequest() {
    SendMessage(kWmClose, 0, 0);
}

void WindowImplBase::OnNativeFocusChanged(bool focused) {
    if (!focused) manager_->OnWindowFocusLost();
}

}  // namespace ui
