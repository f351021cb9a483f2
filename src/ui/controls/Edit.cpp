#include "ui/controls/Edit.h"

#include <algorithm>

#include "ui/builder/AttributeParsers.h"
#include "ui/core/PaintManager.h"
#include "ui/core/VirtualKeys.h"
#include "ui/render/Canvas.h"
#include "ui/text/TextTable.h"

namespace ui {
namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

size_t PrevBoundary(const std::string& s, size_t i) {
    if (i == 0) return 0;
    --i;
    while (i > 0 && IsContinuation(static_cast<unsigned char>(s[i]))) --i;
    return i;
}

size_t NextBoundary(const std::string& s, size_t i) {
    if (i >= s.size()) return s.size();
    ++i;
    while (i < s.size() && IsContinuation(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}

}  // namespace

Edit::Edit() {
    align_ = kAlignLeft | kAlignVCenter | kAlignSingleLine;
    textPadding_ = {8, 0, 8, 0};
}

RichEdit::RichEdit() {
    multiLine_ = true;
    align_ = kAlignLeft | kAlignTop | kAlignWordBreak;
    textPadding_ = {8, 6, 8, 6};
}

size_t Edit::CharCount(const std::string& s) const {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuation(c); }));
}

void Edit::SetText(std::string text) {
    SetText(std::move(text), Notify::No);
}

void Edit::SetText(std::string text, Notify notify) {
    text_ = std::move(text);
    caret_ = text_.size();
    allSelected_ = false;
    Invalidate();
    if (notify == Notify::Yes) SendNotify("textchanged");
}

void Edit::SelectAll() {
    allSelected_ = !text_.empty();
    caret_ = text_.size();
    Invalidate();
}

bool Edit::AcceptsChar(char32_t c) const {
    if (c < 0x20 && !(multiLine_ && c == '\n')) return false;
    if (c == 0x7F) return false;
    if (numberOnly_ && (c < '0' || c > '9')) return false;
    return true;
}

void Edit::Insert(const std::string& text) {
    std::string accepted;
    for (size_t i = 0; i < text.size();) {
        size_t next = NextBoundary(text, i);
        unsigned char lead = static_cast<unsigned char>(text[i]);
        char32_t c = lead < 0x80 ? lead : 0x80;  // any non-ASCII character counts as printable
        if (AcceptsChar(c)) accepted.append(text, i, next - i);
        i = next;
    }
    if (accepted.empty()) return;
    std::string updated = text_;
    size_t caret = caret_;
    if (allSelected_) {
        updated.clear();
        caret = 0;
    }
    if (maxChar_ > 0) {
        // Keep whole characters only, up to the limit.
        size_t room = CharCount(updated) >= static_cast<size_t>(maxChar_) ? 0 : maxChar_ - CharCount(updated);
        size_t cut = 0, count = 0;
        while (cut < accepted.size() && count < room) {
            cut = NextBoundary(accepted, cut);
            ++count;
        }
        accepted.resize(cut);
        if (accepted.empty()) return;
    }
    updated.insert(caret, accepted);
    text_ = std::move(updated);
    caret_ = caret + accepted.size();
    allSelected_ = false;
    Invalidate();
    SendNotify("textchanged");
}

void Edit::Erase(bool forward) {
    if (allSelected_) {
        allSelected_ = false;
        if (text_.empty()) return;
        text_.clear();
        caret_ = 0;
        Invalidate();
        SendNotify("textchanged");
        return;
    }
    size_t from = forward ? caret_ : PrevBoundary(text_, caret_);
    size_t to = forward ? NextBoundary(text_, caret_) : caret_;
    if (from == to) return;
    text_.erase(from, to - from);
    caret_ = from;
    Invalidate();
    SendNotify("textchanged");
}

void Edit::DoEvent(UiEvent& event) {
    switch (event.type) {
        case EventType::SetFocus:
            caret_ = text_.size();
            Invalidate();
            SendNotify("setfocus");
            return;
        case EventType::KillFocus:
            allSelected_ = false;
            Invalidate();
            SendNotify("killfocus");
            return;
        case EventType::DblClick:
            SelectAll();
            return;
        case EventType::ButtonDown:
            allSelected_ = false;
            caret_ = text_.size();
            Invalidate();
            return;
        case EventType::Char:
            if (!readOnly_ && !(event.modifiers & (kModCtrl | kModAlt))) Insert(event.text);
            event.handled = true;
            return;
        case EventType::KeyDown:
            event.handled = true;
            switch (event.key) {
                case kVkBack:
                    if (!readOnly_) Erase(false);
                    return;
                case kVkDelete:
                    if (!readOnly_) Erase(true);
                    return;
                case kVkLeft:
                    allSelected_ = false;
                    caret_ = PrevBoundary(text_, caret_);
                    Invalidate();
                    return;
                case kVkRight:
                    allSelected_ = false;
                    caret_ = NextBoundary(text_, caret_);
                    Invalidate();
                    return;
                case kVkHome:
                    allSelected_ = false;
                    caret_ = 0;
                    Invalidate();
                    return;
                case kVkEnd:
                    allSelected_ = false;
                    caret_ = text_.size();
                    Invalidate();
                    return;
                case kVkReturn:
                    if (multiLine_) {
                        if (!readOnly_) Insert("\n");
                    } else {
                        SendNotify("return");
                    }
                    return;
                default:
                    if ((event.modifiers & kModCtrl) && event.key == kVkA) SelectAll();
                    event.handled = false;
                    return;
            }
        default:
            Control::DoEvent(event);
    }
}

AttrResult Edit::SetAttribute(std::string_view name, std::string_view value) {
    std::string n = ToLower(name);
    auto boolean = [&](bool& target) {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        target = *b;
        return AttrResult::Ok;
    };
    if (AttrResult r = SetStateImageAttribute(name, value); r != AttrResult::Unknown) return r;
    if (n == "readonly") return boolean(readOnly_);
    if (n == "numberonly") return boolean(numberOnly_);
    if (n == "password") return boolean(password_);
    if (n == "wantreturn" || n == "multiline") return boolean(multiLine_);
    if (n == "maxchar" || n == "limittext") {
        auto v = ParseInt(value);
        if (!v || *v < 0) return AttrResult::BadValue;
        maxChar_ = *v;
        return AttrResult::Ok;
    }
    if (n == "tipvalue") return tipValue_ = std::string(value), AttrResult::Ok;
    if (n == "tipvaluecolor" || n == "caretcolor" || n == "selectioncolor" || n == "nativebkcolor") {
        auto c = ParseColor(value);
        if (!c) return AttrResult::BadValue;
        if (n == "tipvaluecolor")
            tipValueColor_ = *c;
        else if (n == "caretcolor")
            caretColor_ = *c;
        else if (n == "selectioncolor")
            selectionColor_ = *c;
        return AttrResult::Ok;
    }
    return Control::SetAttribute(name, value);
}

std::string Edit::DisplayText() const {
    if (!password_) return text_;
    std::string dots;
    for (size_t i = 0; i < CharCount(text_); ++i) dots += "\u2022";
    return dots;
}

void Edit::PaintStatusImage(Canvas& canvas) {
    // Focus wins over hover for an edit: the user must see where typing goes.
    if (focused_ && IsEffectivelyEnabled() && !GetImage(ImageSlot::Focused).empty() &&
        DrawImage(canvas, GetImage(ImageSlot::Focused)))
        return;
    PaintStateImage(canvas);
}

void Edit::PaintText(Canvas& canvas) {
    if (!manager_) return;
    Rect r = rect_.Deflate(textPadding_);
    FontSpec font = manager_->GetFont(font_);
    if (text_.empty()) {
        if (!tipValue_.empty() && !focused_)
            canvas.DrawText(TextTable::Instance().Resolve(tipValue_), r, font, tipValueColor_, align_);
    } else {
        std::string shown = DisplayText();
        if (allSelected_ && focused_) {
            Size sz = canvas.MeasureText(shown, font);
            int top = r.top + (r.Height() - sz.cy) / 2;
            canvas.FillRect({r.left, top, std::min(r.right, r.left + sz.cx), top + sz.cy}, selectionColor_);
        }
        canvas.DrawText(shown, r, font, CurrentTextColor(), align_);
    }
    if (focused_ && !readOnly_ && !multiLine_) {
        std::string before = password_ ? DisplayText().substr(0, CharCount(text_.substr(0, caret_)) * 3)
                                       : text_.substr(0, caret_);
        int x = r.left + (before.empty() ? 0 : canvas.MeasureText(before, font).cx);
        int h = font.size + 4;
        int top = r.top + (r.Height() - h) / 2;
        canvas.DrawLine({x, top}, {x, top + h}, caretColor_ ? caretColor_ : CurrentTextColor(), 1);
    }
}

}  // namespace ui
