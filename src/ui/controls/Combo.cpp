#include "ui/controls/Combo.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/controls/ComboDropWindow.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/render/Canvas.h"
#include "ui/render/MarkupPainter.h"

namespace ui {

Combo::Combo() {
    align_ = kAlignLeft | kAlignVCenter | kAlignSingleLine | kAlignEndEllipsis;
    textPadding_ = {10, 0, 32, 0};
}

Combo::~Combo() {
    if (drop_) {
        drop_->Detach();
        if (!drop_->IsClosed()) drop_->SendMessage(0x0010 /*close*/, 0, 0);
    }
}

bool Combo::SelectItem(int index, Notify notify) {
    if (index < -1 || index >= GetCount()) return false;
    if (index == current_) return true;
    int old = current_;
    current_ = index;
    Invalidate();
    if (notify == Notify::Yes) SendNotify("itemselect", current_, old);
    return true;
}

std::string Combo::GetSelectedText() const {
    Control* item = GetItemAt(current_);
    return item ? item->GetText() : std::string();
}

Control* Combo::AddItem(std::string text, std::string userData) {
    auto item = std::make_unique<ListLabelElement>();
    item->SetText(std::move(text));
    item->SetUserData(std::move(userData));
    return Add(std::move(item));
}

void Combo::CopyItemsFrom(const Combo& other) {
    if (&other == this) return;
    RemoveAll();
    current_ = -1;
    for (int i = 0; i < other.GetCount(); ++i) {
        Control* src = other.GetItemAt(i);
        auto item = std::make_unique<ListLabelElement>();
        item->SetName(src->GetName());
        item->SetText(src->GetText());
        item->SetUserData(src->GetUserData());
        item->SetTag(src->GetTag());
        Add(std::move(item));
    }
    Invalidate();
}

bool Combo::IsOpen() const {
    return drop_ && !drop_->IsClosed();
}

ComboDropWindow* Combo::GetDropWindow() const {
    return IsOpen() ? drop_.get() : nullptr;
}

bool Combo::Activate() {
    if (!Control::Activate() || IsOpen() || GetCount() == 0 || !manager_ || !manager_->GetWindow())
        return false;
    drop_ = std::make_unique<ComboDropWindow>(*this);
    if (!drop_->Open()) {
        drop_.reset();
        return false;
    }
    SetPushed(true);
    return true;
}

void Combo::CloseDropDown() {
    if (IsOpen()) drop_->Close(0);
}

void Combo::OnDropClosed() {
    SetPushed(false);
    // The window object cannot delete itself while it handles its last message.
    if (drop_) {
        ComboDropWindow* closed = drop_.release();
        Toolkit::PostTask([closed] { delete closed; });
    }
}

AttrResult Combo::SetAttribute(std::string_view name, std::string_view value) {
    AttrResult r = style_.SetAttribute(name, value);
    if (r != AttrResult::Unknown) return r;
    if (r = SetStateImageAttribute(name, value); r != AttrResult::Unknown) return r;
    std::string n = ToLower(name);
    if (n == "dropboxsize") {
        auto s = ParseSize(value);
        if (!s) return AttrResult::BadValue;
        dropBoxSize_ = *s;
        return AttrResult::Ok;
    }
    if (n == "dropbkimage") return dropBkImage_ = std::string(value), AttrResult::Ok;
    if (n == "dropbkcolor") {
        auto c = ParseColor(value);
        if (!c) return AttrResult::BadValue;
        dropBkColor_ = *c;
        return AttrResult::Ok;
    }
    if (n == "selectedid") {
        auto v = ParseInt(value);
        if (!v) return AttrResult::BadValue;
        current_ = *v;
        return AttrResult::Ok;
    }
    return Container::SetAttribute(name, value);
}

void Combo::SetPos(const Rect& rect) {
    // Rows are laid out by the drop-down, not inside the combo.
    Control::SetPos(rect);
    if (current_ >= GetCount()) current_ = -1;
}

void Combo::DoEvent(UiEvent& event) {
    switch (event.type) {
        case EventType::ButtonDown:
            if (IsOpen())
                CloseDropDown();
            else
                Activate();
            return;
        case EventType::KeyDown:
            if (event.key == kVkUp || event.key == kVkDown) {
                if (event.modifiers & kModAlt) {
                    Activate();
                } else {
                    int next = current_ + (event.key == kVkDown ? 1 : -1);
                    if (next >= 0 && next < GetCount()) SelectItem(next, Notify::Yes);
                }
                event.handled = true;
            } else if (event.key == kVkSpace || event.key == kVkReturn || event.key == kVkF1 + 3) {
                Activate();
                event.handled = true;
            }
            return;
        default:
            Container::DoEvent(event);
    }
}

void Combo::PaintStatusImage(Canvas& canvas) {
    PaintStateImage(canvas);
}

void Combo::PaintText(Canvas& canvas) {
    Control* item = GetItemAt(current_);
    if (!item || !manager_) return;
    Color color = CurrentTextColor();
    if (!(textColor_ >> 24) && (style_.textColor >> 24) && IsEffectivelyEnabled()) color = style_.textColor;
    if (style_.showHtml) {
        // The chosen row as the drop-down shows it, markup included.
        DrawMarkupLine(canvas, item->GetResolvedText(), rect_.Deflate(textPadding_), manager_->GetFont(font_),
                       color, align_);
        return;
    }
    canvas.DrawText(item->GetResolvedText(), rect_.Deflate(textPadding_), manager_->GetFont(font_), color,
                    align_);
}

}  // namespace ui
