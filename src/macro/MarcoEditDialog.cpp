#include "macro/MarcoEditDialog.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "assign/KeyCodes.h"
#include "platform/Trace.h"
#include "ui/controls/Edit.h"
#include "ui/core/InputHooks.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"

namespace {

// Titles of the modes (text numbers).
const char* TitleOf(int mode) {
    switch (mode) {
        case MarcoEditDialog::kNewName:
            return "%{426}";
        case MarcoEditDialog::kRename:
            return "%{427}";
        case MarcoEditDialog::kConfirm:
            return "%{428}";
        case MarcoEditDialog::kKey:
            return "%{429}";
        case MarcoEditDialog::kMove:
        case MarcoEditDialog::kMoveX:
        case MarcoEditDialog::kMoveY:
            return "%{425}";
        case MarcoEditDialog::kDelay:
            return "%{431}";
    }
    return "";
}

// Digits with at most one leading minus sign.
std::string SignedDigits(const std::string& text) {
    std::string out;
    for (char c : text) {
        if ((c >= '0' && c <= '9') || (c == '-' && out.empty())) out += c;
    }
    return out;
}

}  // namespace

MarcoEditDialog::MarcoEditDialog(const MarcoEditSpec& spec, int mode) : spec_(spec), mode_(mode) {}

MarcoEditDialog::~MarcoEditDialog() = default;

long long MarcoEditDialog::ReadNumber(const std::string& text) {
    if (text.empty()) return 0;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0') return 0;
    return v;  // strtoll saturates at LLONG_MIN / LLONG_MAX
}

std::string MarcoEditDialog::KeepInRange(const std::string& text, int min, int max) {
    long long v = ReadNumber(text);
    if (v > max) return std::to_string(max);
    if (v < min) return std::to_string(min);
    return text;
}

int MarcoEditDialog::Number() const {
    switch (mode_) {
        case kKey:
            return keyCode_;
        case kMoveY:
            return static_cast<int>(ReadNumber(value2_));
        default:
            return static_cast<int>(ReadNumber(value_));
    }
}

bool MarcoEditDialog::Run(ui::WindowImplBase& owner) {
    return RunPopupModal(&owner, "") == 1;
}

void MarcoEditDialog::InitWindow() {
    SizeToSkinAndCenter();
    ShowFor(mode_);
    if (mode_ == kKey) {
        keyHook_ = ui::InputHooks::Install(
            [this](uint32_t message, uint32_t vk, int32_t) { OnKeyHook(message, vk); });
    }
}

void MarcoEditDialog::ShowFor(int mode) {
    auto show = [&](const char* base, bool visible) {
        if (auto* c = GetManager().FindControl(spec_.Name(base))) c->SetVisible(visible);
    };
    bool first = mode != kConfirm && mode != kMoveY;
    bool second = mode == kMove || mode == kMoveY;
    show("waring_messgae", mode == kConfirm);
    show("value_row", first);
    show("value2_row", second);
    show("x_value_message", mode == kMove || mode == kMoveX);
    show("y_value_message", second);
    if (auto* title = GetManager().FindControl(spec_.Name("dialog_title"))) title->SetText(TitleOf(mode));

    auto* edit = Find<ui::Edit>(spec_.Name("result_value"));
    if (edit) {
        if (mode == kNewName || mode == kRename) edit->SetMaxChar(spec_.nameChars);
        if (mode == kDelay) {
            edit->SetNumberOnly(true);
            edit->SetMaxChar(10);
        }
        if (mode == kKey) edit->SetReadOnly(true);
        if (mode == kMove || mode == kMoveX) edit->SetMaxChar(4);
        if (mode != kMoveY) edit->SetText(initial_, ui::Notify::No);
    }
    if (auto* edit2 = Find<ui::Edit>(spec_.Name("result_value2")); edit2 && second) {
        edit2->SetMaxChar(4);
        // The vertical movement alone is asked in the second field.
        if (mode == kMoveY) edit2->SetText(initial_, ui::Notify::No);
    }
    ui::Control* focus = mode == kMoveY ? GetManager().FindControl(spec_.Name("result_value2"))
                                        : static_cast<ui::Control*>(edit);
    if (focus && mode != kKey && mode != kConfirm) {
        GetManager().SetFocus(focus);
        if (auto* e = dynamic_cast<ui::Edit*>(focus)) e->SelectAll();
    } else if (auto* ok = GetManager().FindControl(spec_.Name("btn_ok")); ok && mode == kConfirm) {
        GetManager().SetFocus(ok);
    }
}

void MarcoEditDialog::OnKeyHook(uint32_t message, uint32_t vk) {
    if (message != ui::kWmKeyUp && message != ui::kWmSysKeyUp) return;
    int code = assign::KeyCodeFromVirtualKey(vk);
    if (code == 0) return;
    keyCode_ = code;
    std::string name = assign::KeyName(static_cast<unsigned>(code));
    if (auto* edit = Find<ui::Edit>(spec_.Name("result_value"))) edit->SetText(name, ui::Notify::No);
}

void MarcoEditDialog::KeepField(const std::string& field, int min, int max, bool signedNumber) {
    auto* edit = Find<ui::Edit>(field);
    if (!edit) return;
    std::string text = signedNumber ? SignedDigits(edit->GetText()) : edit->GetText();
    text = KeepInRange(text, min, max);
    if (text != edit->GetText()) edit->SetText(text, ui::Notify::No);
}

void MarcoEditDialog::Notify(ui::Notification& n) {
    if (!n.sender) return;
    platform::Trace(n.sender->GetName() + "----" + n.type + ";");
    if (n.type == "click") {
        if (n.sender->NameIs(spec_.Name("btn_ok")))
            Finish(true);
        else if (n.sender->NameIs(spec_.Name("btn_cancel")) || n.sender->NameIs(spec_.Name("btn_colse")))
            Finish(false);
    } else if (n.type == "return") {
        Finish(true);
    } else if (n.type == "textchanged") {
        const bool first = n.sender->NameIs(spec_.Name("result_value"));
        const bool second = n.sender->NameIs(spec_.Name("result_value2"));
        if (mode_ == kDelay && first) KeepField(n.sender->GetName(), 0, spec_.delayMax, false);
        if ((mode_ == kMove || mode_ == kMoveX) && first)
            KeepField(n.sender->GetName(), kMoveMin, kMoveMax, true);
        if ((mode_ == kMove || mode_ == kMoveY) && second)
            KeepField(n.sender->GetName(), kMoveMin, kMoveMax, true);
    }
}

void MarcoEditDialog::Finish(bool ok) {
    if (IsClosed()) return;
    if (ok) {
        if (auto* e = Find<ui::Edit>(spec_.Name("result_value"))) value_ = e->GetText();
        if (auto* e = Find<ui::Edit>(spec_.Name("result_value2"))) value2_ = e->GetText();
    }
    Close(ok ? 1 : 0);
}

intptr_t MarcoEditDialog::HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) {
    handled = false;
    // While capturing, Escape and Enter are keys the user may want; only the buttons close.
    if (message == ui::kWmKeyDown && mode_ != kKey) {
        if (static_cast<uint32_t>(wParam) == ui::kVkEscape) {
            handled = true;
            Finish(false);
        } else if (static_cast<uint32_t>(wParam) == ui::kVkReturn) {
            handled = true;
            Finish(true);
        }
    }
    return 0;
}

void MarcoEditDialog::OnFinalMessage() {
    keyHook_.Reset();
}
