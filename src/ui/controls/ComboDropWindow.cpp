#include "ui/controls/ComboDropWindow.h"

#include <algorithm>

#include "ui/controls/Combo.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/render/Canvas.h"
#include "ui/render/ImageString.h"
#include "ui/text/TextTable.h"

namespace ui {

// Paints the combo's rows and picks one. The rows stay owned by the combo.
class ComboDropView final : public Control {
  public:
    explicit ComboDropView(ComboDropWindow& window) : window_(window) {}
    std::string_view GetClass() const override { return "ComboDropView"; }
    bool WantsFocus() const override { return true; }
    bool IsInteractive() const override { return true; }

    static constexpr int kBorder = 4;

    Rect RowRect(int index) const {
        Combo* combo = window_.GetCombo();
        if (!combo || index < 0 || index >= combo->GetCount()) return {};
        int h = combo->GetItemStyle().height;
        int top = rect_.top + kBorder + index * h - scroll_;
        return {rect_.left + kBorder, top, rect_.right - kBorder, top + h};
    }

    void EnsureVisible(int index) {
        Combo* combo = window_.GetCombo();
        if (!combo || index < 0) return;
        int h = combo->GetItemStyle().height;
        int viewH = rect_.Height() - 2 * kBorder;
        int top = index * h;
        if (top < scroll_)
            scroll_ = top;
        else if (top + h > scroll_ + viewH)
            scroll_ = top + h - viewH;
        Invalidate();
    }

    int RowAt(Point pt) const {
        Combo* combo = window_.GetCombo();
        if (!combo) return -1;
        for (int i = 0; i < combo->GetCount(); ++i)
            if (RowRect(i).Contains(pt) && rect_.Deflate({0, kBorder, 0, kBorder}).Contains(pt)) return i;
        return -1;
    }

    void SetHotRow(int row) {
        if (row != hotRow_) {
            hotRow_ = row;
            Invalidate();
        }
    }

    void DoEvent(UiEvent& event) override {
        Combo* combo = window_.GetCombo();
        if (!combo) return;
        switch (event.type) {
            case EventType::MouseMove:
                SetHotRow(RowAt(event.pt));
                return;
            case EventType::MouseLeave:
                SetHotRow(-1);
                return;
            case EventType::ButtonUp: {
                int row = RowAt(event.pt);
                if (row >= 0) window_.Choose(row);
                return;
            }
            case EventType::Wheel: {
                int h = combo->GetItemStyle().height;
                int maxScroll = std::max(0, combo->GetCount() * h - (rect_.Height() - 2 * kBorder));
                scroll_ = std::clamp(scroll_ - event.wheelDelta / 120 * h, 0, maxScroll);
                event.handled = true;
                Invalidate();
                return;
            }
            case EventType::KeyDown: {
                int row = hotRow_ >= 0 ? hotRow_ : combo->GetCurSel();
                if (event.key == kVkDown)
                    row = std::min(combo->GetCount() - 1, row + 1);
                else if (event.key == kVkUp)
                    row = std::max(0, row - 1);
                else if (event.key == kVkReturn || event.key == kVkSpace) {
                    if (row >= 0) window_.Choose(row);
                    return;
                } else if (event.key == kVkEscape) {
                    window_.Close(0);
                    return;
                } else {
                    return;
                }
                SetHotRow(row);
                EnsureVisible(row);
                return;
            }
            default:
                Control::DoEvent(event);
        }
    }

    int hotRow_ = -1;

  protected:
    void DoPaint(Canvas& canvas, const Rect& dirty) override {
        Combo* combo = window_.GetCombo();
        if (!combo || !manager_) return;
        // The colour goes under the image so a rounded image's corners never show the bare window.
        canvas.FillRect(rect_, combo->GetDropBkColor());
        if (!combo->GetDropBkImage().empty())
            canvas.DrawImage(ParseImageString(combo->GetDropBkImage()), rect_);
        canvas.PushClip(rect_.Deflate({kBorder, kBorder, kBorder, kBorder}));
        for (int i = 0; i < combo->GetCount(); ++i) {
            Rect row = RowRect(i);
            if (row.Intersect(dirty).IsEmpty()) continue;
            Control* item = combo->GetItemAt(i);
            PaintListRow(canvas, *manager_, combo->GetItemStyle(), row, item->GetResolvedText(),
                         i == combo->GetCurSel(), i == hotRow_, item->IsEnabled(), 0xFFE8EAEDu);
        }
        canvas.PopClip();
    }

  private:
    ComboDropWindow& window_;
    int scroll_ = 0;
};

ComboDropWindow::ComboDropWindow(Combo& combo) : combo_(&combo) {}

std::unique_ptr<Control> ComboDropWindow::CreateRootInCode() {
    auto view = std::make_unique<ComboDropView>(*this);
    view_ = view.get();
    return view;
}

bool ComboDropWindow::Open() {
    PaintManager* owningManager = combo_->GetManager();
    WindowImplBase* owner = owningManager ? owningManager->GetWindow() : nullptr;
    if (!owner) return false;
    // The pop-up draws rows with the combo window's fonts.
    for (int index : owningManager->GetFontIndices())
        GetManager().AddFont(index, owningManager->GetFont(index));
    GetManager().SetDefaultFont(owningManager->GetDefaultFont());

    Rect ownerRect = owner->GetWindowRect();
    Rect c = combo_->GetPos();
    int rowH = combo_->GetItemStyle().height;
    int width = combo_->GetDropBoxSize().cx > 0 ? combo_->GetDropBoxSize().cx : c.Width();
    int maxH = combo_->GetDropBoxSize().cy > 0 ? combo_->GetDropBoxSize().cy : 320;
    int height = std::min(maxH, combo_->GetCount() * rowH + 2 * ComboDropView::kBorder);
    Rect r{ownerRect.left + c.left, ownerRect.top + c.bottom + 2, 0, 0};
    r.right = r.left + width;
    r.bottom = r.top + height;
    Rect work = Toolkit::GetBackend().WorkArea();
    if (r.bottom > work.bottom) r = r.Offset(0, -(height + c.Height() + 4));
    WindowStyle style;
    style.popup = true;
    if (!Create(owner, "", style, r)) return false;
    ShowWindow(true, true);
    GetManager().SetFocus(view_);
    if (combo_->GetCurSel() >= 0) {
        GetManager().LayoutIfNeeded();
        view_->EnsureVisible(combo_->GetCurSel());
    }
    return true;
}

Rect ComboDropWindow::RowRect(int index) {
    GetManager().LayoutIfNeeded();
    if (!view_) return {};
    view_->EnsureVisible(index);
    return view_->RowRect(index);
}

void ComboDropWindow::Choose(int index) {
    Combo* combo = combo_;
    Close(0);
    if (combo) combo->SelectItem(index, Notify::Yes);
}

void ComboDropWindow::OnNativeFocusChanged(bool focused) {
    WindowImplBase::OnNativeFocusChanged(focused);
    if (!focused && !IsClosed()) Close(0);
}

void ComboDropWindow::OnFinalMessage() {
    if (combo_) combo_->OnDropClosed();
}

}  // namespace ui
