#include "keyboard/KeyEdit.h"

#include <cstdlib>

#include "assign/KeyCodes.h"
#include "assign/Utf16.h"
#include "keyboard/KeyTables.h"
#include "macro/MacroStore.h"
#include "platform/Clock.h"
#include "platform/Trace.h"
#include "ui/controls/Combo.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/core/InputHooks.h"
#include "ui/core/MessageBoxHook.h"
#include "ui/core/Messages.h"
#include "ui/text/TextTable.h"

namespace keyboard {
namespace {

using K = KeyboardConfig;

constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
constexpr const char* kMacroList = "result_marco_value";
constexpr const char* kMultimediaList = "result_mulitmedia_value";
constexpr const char* kKeyField = "result_key_value";
constexpr const char* kFnCombo = "FN_key_setting";
constexpr const char* kNoSlotText = "%{080}";
constexpr int kFirstMultimedia = 0xA0;
constexpr int kLastMultimedia = 0xB7;

// The option and panel of each mode that has them.
struct ModeControls {
    int mode;
    const char* option;
    const char* panel;
};
constexpr ModeControls kModes[] = {
    {KeyEdit::kKey, "key_setting", "key_layout"},
    {KeyEdit::kMacro, "marco_setting", kMacroList},
    {KeyEdit::kMultimedia, "multimedia_setting", kMultimediaList},
};

// Modifier bits of a combination's high byte: bit 0 Ctrl, bit 1 Shift, bit 2 Alt, bit 3 Win.
struct Modifier {
    const char* box;
    uint8_t bit;
};
constexpr Modifier kModifiers[] = {
    {"ctrl_check", 0x01}, {"shift_check", 0x02}, {"alt_check", 0x04}, {"win_check", 0x08}};

MacroList& Macros() {
    return MacroStore::Instance().List(K::kModel);
}

std::string Resolve(const char* text) {
    return ui::TextTable::Instance().Resolve(text);
}

}  // namespace

KeyEdit::KeyEdit(ui::WindowImplBase* owner, KeyboardConfig& config, std::string entry, bool fn)
    : owner_(owner), config_(config), entry_(std::move(entry)), fn_(fn) {}

KeyEdit::~KeyEdit() {
    RemoveHook();
}

KeyboardKey* KeyEdit::Key() {
    const size_t profile = static_cast<size_t>(config_.currentProfile);
    auto& table = fn_ ? config_.fnTables[profile] : config_.keyTables[profile];
    auto it = table.find(entry_);
    return it == table.end() ? nullptr : &it->second;
}

bool KeyEdit::RunModal() {
    if (!Key()) return false;
    const int result = RunPopupModal(owner_, GetWindowClassName());
    RemoveHook();
    if (result != kResultOk) return false;
    Apply();
    return true;
}

void KeyEdit::InitWindow() {
    SizeToSkinAndCenter();
    if (auto* combo = Find<ui::Combo>(kFnCombo)) {
        combo->SetVisible(fn_);
        if (fn_) combo->SelectItem(0, ui::Notify::No);
    }
    if (auto* label = Find<ui::Control>("fn_label")) label->SetVisible(fn_);
    FillLists();
    ShowCurrent();
    Preselect();
}

void KeyEdit::FillLists() {
    if (auto* list = Find<ui::List>(kMacroList)) {
        for (const auto& entry : Macros()) {
            auto row = std::make_unique<ui::ListLabelElement>();
            row->SetText(assign::Utf8FromUtf16(entry->name));
            list->Add(std::move(row));
        }
    }
    if (auto* list = Find<ui::List>(kMultimediaList); list && list->GetCount() == 0) {
        for (int code = kFirstMultimedia; code <= kLastMultimedia; ++code) {
            const std::string name = assign::MultimediaKeyName(static_cast<unsigned>(code));
            if (name.empty()) continue;
            auto row = std::make_unique<ui::ListLabelElement>();
            row->SetText(name);
            row->SetUserData(std::to_string(code));
            list->Add(std::move(row));
        }
    }
}

void KeyEdit::ShowCurrent() {
    auto* current = Find<ui::Control>("current_value");
    const KeyboardKey* key = Key();
    if (!current || !key) return;
    std::string text = Resolve("%{9}") + " ";
    if (key->kind == KeyboardKey::kMacro) text += Resolve("%{39}") + "--";
    current->SetText(text + key->text);
}

// Opens on what the key does now, so OK without a new choice keeps it.
void KeyEdit::Preselect() {
    const KeyboardKey* key = Key();
    if (!key) return;
    for (const auto& m : kModifiers)
        if (auto* box = Find<ui::Option>(m.box)) box->SetSelected(false, ui::Notify::No);
    switch (key->kind) {
        case KeyboardKey::kKey:
            capture_.Preset(static_cast<uint32_t>(key->code), key->text);
            SetMode(kKey);
            break;
        case KeyboardKey::kCombination: {
            const int high = key->combination >> 8;
            const bool modifierSet = high >= 0x81 && high <= 0x8F;
            for (const auto& m : kModifiers)
                if (auto* box = Find<ui::Option>(m.box))
                    box->SetSelected(modifierSet && (high & m.bit), ui::Notify::No);
            const uint32_t keys = modifierSet ? key->combination & 0xFFu : key->combination;
            capture_.Preset(keys, modifierSet ? assign::KeyName(keys) : key->text);
            SetMode(kCombination);
            break;
        }
        case KeyboardKey::kMacro:
            SetMode(kMacro);
            if (auto* list = Find<ui::List>(kMacroList))
                for (size_t i = 0; i < Macros().size(); ++i)
                    if (Macros()[i].name == key->macroName)
                        list->SelectItem(static_cast<int>(i), ui::Notify::No);
            break;
        case KeyboardKey::kMultimedia:
            SetMode(kMultimedia);
            if (auto* list = Find<ui::List>(kMultimediaList))
                for (int i = 0; i < list->GetCount(); ++i)
                    if (std::atoi(list->GetItemAt(i)->GetUserData().c_str()) == key->code)
                        list->SelectItem(i, ui::Notify::No);
            break;
        default:
            SetMode(kNone);
    }
    ShowCaptured();
}

void KeyEdit::SetMode(int mode) {
    mode_ = mode;
    const int shown = mode == kCombination ? kKey : mode;
    for (const auto& m : kModes) {
        if (auto* option = Find<ui::Option>(m.option); option && m.mode == shown)
            option->SetSelected(true, ui::Notify::No);
        if (auto* panel = Find<ui::Control>(m.panel)) panel->SetVisible(m.mode == shown);
    }
    if (auto* hint = Find<ui::Control>("category_hint"))
        hint->SetVisible(shown < kKey || shown > kMultimedia);
    if (shown == kKey)
        InstallHook();
    else
        RemoveHook();
}

void KeyEdit::Notify(ui::Notification& n) {
    if (!n.sender) return;
    platform::Trace(n.sender->GetName() + "-" + n.type + ";");
    ui::Control* s = n.sender;
    if (n.type == "itemselect" && s->NameIs(kFnCombo)) {
        if (n.wParam >= 0 && n.wParam < K::kFnKeys) {
            entry_ = FnEntryName(static_cast<int>(n.wParam) + 1);
            ShowCurrent();
            Preselect();
        }
        return;
    }
    if (n.type == "selectchanged") {
        for (const auto& m : kModifiers)
            if (s->NameIs(m.box)) {
                // A modifier makes any captured key a combination.
                if (mode_ == kKey || mode_ == kCombination) mode_ = Modifiers() ? kCombination : kKey;
                if (mode_ == kKey && (capture_.Captured() >> 8)) mode_ = kCombination;
                ShowCaptured();
            }
        return;
    }
    if (n.type != "click") return;
    if (s->NameIs("btn_ok")) {
        Close(kResultOk);
    } else if (s->NameIs("btn_cancel") || s->NameIs("btn_colse")) {
        Close(kResultCancel);
    } else if (s->NameIs("btn_reset")) {
        SetMode(kReset);
        Close(kResultOk);
    } else {
        for (const auto& m : kModes)
            if (s->NameIs(m.option)) {
                SetMode(m.mode == kKey && (Modifiers() || capture_.Captured() >> 8) ? kCombination : m.mode);
                return;
            }
    }
}

void KeyEdit::InstallHook() {
    if (hooked_) return;
    hook_ = ui::InputHooks::Install([this](uint32_t message, uint32_t vk, int32_t) { OnKey(message, vk); });
    hooked_ = true;
}

void KeyEdit::RemoveHook() {
    hook_.Reset();
    hooked_ = false;
}

uint8_t KeyEdit::Modifiers() const {
    uint8_t bits = 0;
    for (const auto& m : kModifiers)
        if (auto* box = Find<ui::Option>(m.box); box && box->IsSelected()) bits |= m.bit;
    return bits;
}

void KeyEdit::OnKey(uint32_t message, uint32_t vk) {
    if (message != ui::kWmKeyDown && message != ui::kWmSysKeyDown) return;
    if (!capture_.Press(vk, platform::CurrentClock().NowMs())) return;
    mode_ = (capture_.Captured() >> 8) || Modifiers() ? kCombination : kKey;
    ShowCaptured();
}

void KeyEdit::ShowCaptured() {
    auto* field = Find<ui::Control>(kKeyField);
    if (!field) return;
    const uint8_t modifiers = Modifiers();
    const uint32_t keys = capture_.Captured();
    if (mode_ == kCombination && modifiers)
        field->SetText(CombinationName(static_cast<uint16_t>(0x80 | modifiers) << 8 | (keys & 0xFF)));
    else if (mode_ == kCombination)
        field->SetText(CombinationName(static_cast<uint16_t>(keys)));
    else
        field->SetText(capture_.KeyText());
}

void KeyEdit::Apply() {
    KeyboardKey* key = Key();
    if (!key) return;
    const KeyboardConfig before = config_;
    const MacroList& macros = Macros();
    switch (mode_) {
        case kKey:
            if (capture_.Captured() & 0xFF)
                AssignKey(config_, *key, static_cast<int>(capture_.Captured() & 0xFF), macros);
            break;
        case kMacro: {
            auto* list = Find<ui::List>(kMacroList);
            const int i = list ? list->GetCurSel() : -1;
            if (i < 0 || static_cast<size_t>(i) >= macros.size()) break;
            if (AssignMacro(config_, *key, macros[static_cast<size_t>(i)], macros) ==
                AssignResult::NoMacroSlot)
                ui::ShowMessageBox(owner_, Resolve(kNoSlotText));
            break;
        }
        case kMultimedia: {
            auto* list = Find<ui::List>(kMultimediaList);
            const ui::Control* item = list ? list->GetItemAt(list->GetCurSel()) : nullptr;
            if (!item) break;
            AssignMultimedia(config_, *key, std::atoi(item->GetUserData().c_str()), item->GetResolvedText(),
                             macros);
            break;
        }
        case kReset:
            ResetKey(config_, *key, macros);
            break;
        case kCombination: {
            const uint8_t modifiers = Modifiers();
            const uint32_t keys = capture_.Captured();
            if (!(keys & 0xFF)) break;
            const uint16_t combination = modifiers
                                             ? static_cast<uint16_t>((0x80 | modifiers) << 8 | (keys & 0xFF))
                                             : static_cast<uint16_t>(keys);
            // No room among the combinations: the key keeps what it does, without a word.
            AssignCombination(config_, *key, combination, macros);
            break;
        }
        default:
            break;
    }
    changed_ = config_.keyTables != before.keyTables || config_.fnTables != before.fnTables;
}

}  // namespace keyboard
