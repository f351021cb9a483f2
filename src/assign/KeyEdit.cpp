#include "assign/KeyEdit.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "assign/AssignmentClasses.h"
#include "assign/AssignmentLabel.h"
#include "assign/CaseFold.h"
#include "assign/FireMacroMemory.h"
#include "assign/KeepLeftFlag.h"
#include "assign/KeyCodes.h"
#include "assign/Utf16.h"
#include "macro/MacroStore.h"
#include "platform/Clock.h"
#include "platform/Trace.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/core/InputHooks.h"
#include "ui/core/MessageBoxHook.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace assign {
namespace {

constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
constexpr const char* kFireKeyData = "FireKey";
constexpr const char* kFolderClosed = "\u25B8  ";
constexpr const char* kFolderOpen = "\u25BE  ";
constexpr const char* kMacroIndent = "      ";

// The list of each category that has one, and the option that chooses it.
struct CategoryControls {
    KeyEdit::Category category;
    const char* option;
    const char* list;  // null: no list of its own
};

// In the order the apply step examines them.
constexpr CategoryControls kCategories[] = {
    {KeyEdit::Category::Mouse, "standard_mouse_keys_setting", "result_standard_mouse_keys_value"},
    {KeyEdit::Category::Special, "special_keys_setting", "result_special_keys_value"},
    {KeyEdit::Category::Multimedia, "multimedia_setting", "result_multimedia_value"},
    {KeyEdit::Category::Web, "web_setting", "result_web_value"},
    {KeyEdit::Category::Pc, "pc_setting", "result_pc_value"},
    {KeyEdit::Category::Keyboard, "user_defined_setting", nullptr},
    {KeyEdit::Category::Macro, "base_macro_setting", nullptr},
    {KeyEdit::Category::FireMacro, "fire_macro_setting", "result_fire_macro_value"},
    {KeyEdit::Category::Led, "led_switch_setting", nullptr},
};

constexpr const char* kMacroFileList = "result_marco_file_value";
constexpr const char* kMacroFolderList = "result_marco_folder_value";
constexpr const char* kKeyField = "result_key_value";
constexpr const char* kModifierLayout = "check_layout";
constexpr const char* kLedLayout = "led_switch_layout";
constexpr const char* kKeyLayout = "key_layout";  // the key field, its hint and the modifier boxes
constexpr const char* kHint = "category_hint";

struct Modifier {
    const char* box;
    const char* word;
    uint8_t bit;
};
constexpr Modifier kModifiers[] = {{"ctrl_check", "Ctrl", 0x01},
                                   {"alt_check", "Alt", 0x04},
                                   {"shift_check", "Shift", 0x02},
                                   {"win_check", "Win", 0x08}};

// A decimal code as the skins write it: leading blanks and a sign allowed, reading stops at the first
// non-digit, no digits give 0; values beyond 32 bits saturate.
uint32_t ParseCode(const std::string& text) {
    errno = 0;
    long long v = std::strtoll(text.c_str(), nullptr, 10);
    v = std::clamp<long long>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    return static_cast<uint32_t>(static_cast<int32_t>(v));
}

KeyEdit::Code Split(uint32_t v) {
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
            static_cast<uint8_t>(v)};
}

std::string Resolve(const char* text) {
    return ui::TextTable::Instance().Resolve(text);
}

// The family-E bookkeeping together with the device it talks to.
class FamilyEMacros final : public KeyMacros {
  public:
    FamilyEMacros(FamilyEConfig& config, std::unique_ptr<KeyEditDevice> device, int keyList, int keyIndex)
        : device_(std::move(device)), sync_(config, *device_, keyList, keyIndex) {}
    std::optional<Code> Assign(const MacroEntry& macro) override { return sync_.Assign(macro); }
    void Change(const Code& code) override { sync_.Change(code); }
    bool PlaysMacro(const Code& code) const override { return sync_.PlaysMacro(code); }

  private:
    std::unique_ptr<KeyEditDevice> device_;
    DeviceMacroSync sync_;
};

}  // namespace

KeyEdit::KeyEdit(ui::WindowImplBase* owner, const KeyEditSpec& spec, std::unique_ptr<KeyEditRecord> record,
                 const KeySlot& slot, const MacrosFactory& macros)
    : owner_(owner),
      spec_(spec),
      record_(std::move(record)),
      keyList_(spec.KeyListOf(record_->CurrentProfile())),
      keyIndex_(slot.keyIndex),
      macros_(macros(keyList_, keyIndex_)),
      capture_(spec.combinations) {}

KeyEdit::KeyEdit(ui::WindowImplBase* owner, const KeyEditSpec& spec, FamilyEConfig& config,
                 const KeySlot& slot, std::unique_ptr<KeyEditDevice> device)
    : KeyEdit(owner, spec, std::make_unique<FamilyEKeyEditRecord>(spec.model, config), slot,
              [&config, &device](int keyList, int keyIndex) -> std::unique_ptr<KeyMacros> {
                  return std::make_unique<FamilyEMacros>(config, std::move(device), keyList, keyIndex);
              }) {}

KeyEdit::~KeyEdit() {
    RemoveHook();
}

bool KeyEdit::RunModal() {
    const int result = RunPopupModal(owner_, WindowName());
    RemoveHook();
    if (result != kResultOk) return false;
    Apply();
    return true;
}

KeySlot* KeyEdit::Slot() {
    return KeyAt(record_->KeyLists(), keyList_, keyIndex_);
}

bool KeyEdit::IsChecked(std::string_view base) const {
    auto* box = Find<ui::Option>(Name(base));
    return box && box->IsSelected();
}

void KeyEdit::InitWindow() {
    SizeToSkinAndCenter();
    const KeySlot* slot = Slot();
    const Code code = slot ? slot->code : Code{};
    if (auto* current = Find<ui::Control>(spec_.currentValue)) current->SetText(record_->Label(code));
    const bool office = record_->CurrentProfile() == spec_.reservedProfile;
    if (auto* c = Find<ui::Control>("key_office_mode_element")) c->SetVisible(office);
    if (auto* c = Find<ui::Control>("key_game_mode_element")) c->SetVisible(!office);
    if (office && spec_.fireMacroFollowsPage)
        if (auto* fire = Find<ui::Control>(Name("fire_macro_setting")))
            fire->SetVisible(record_->FireMacroVisible());
    FillMacros();
    InitModelCategories();
    ShowOnly(Category::None);
    Preselect(code);
}

void KeyEdit::FillMacros() {
    auto& store = MacroStore::Instance();
    if (!record_->MacroUsesFolders()) {
        auto* list = Find<ui::List>(Name(kMacroFileList));
        if (!list) return;
        for (const auto& entry : store.List(spec_.model)) {
            auto row = std::make_unique<ui::ListLabelElement>();
            row->SetText(Utf8FromUtf16(entry->name));
            list->Add(std::move(row));
        }
        return;
    }
    auto* tree = Find<ui::List>(Name(kMacroFolderList));
    if (!tree) return;
    tree->RemoveAll();
    folderRows_.clear();
    for (const auto& [key, macros] : store.FileSet(spec_.model)) {
        std::string title = key;
        for (size_t at = title.find(".bin"); at != std::string::npos; at = title.find(".bin"))
            title.erase(at, 4);
        auto folder = std::make_unique<ui::ListLabelElement>();
        folder->SetText(kFolderClosed + title);
        tree->Add(std::move(folder));
        folderRows_.push_back({true, key, 0});
        for (size_t i = 0; i < macros.size(); ++i) {
            auto row = std::make_unique<ui::ListLabelElement>();
            row->SetText(kMacroIndent + Utf8FromUtf16(macros[i].name));
            row->SetVisible(false);  // folders start collapsed
            tree->Add(std::move(row));
            folderRows_.push_back({false, key, i});
        }
    }
}

void KeyEdit::ToggleFolder(int row) {
    auto* tree = Find<ui::List>(Name(kMacroFolderList));
    if (!tree || row < 0 || static_cast<size_t>(row) >= folderRows_.size() || !folderRows_[row].folder)
        return;
    ui::Control* header = tree->GetItemAt(row);
    const bool open = header->GetText().rfind(kFolderClosed, 0) == 0;
    header->SetText((open ? kFolderOpen : kFolderClosed) +
                    header->GetText().substr(std::string(kFolderClosed).size()));
    for (int i = row + 1; i < tree->GetCount() && !folderRows_[static_cast<size_t>(i)].folder; ++i)
        tree->GetItemAt(i)->SetVisible(open);
    tree->NeedUpdate();
}

void KeyEdit::ShowOnly(Category category) {
    auto show = [this](std::string_view base, bool visible) {
        if (auto* c = Find<ui::Control>(Name(base))) c->SetVisible(visible);
    };
    show(kKeyLayout, category == Category::Keyboard);
    show(kKeyField, category == Category::Keyboard);
    show(kModifierLayout, category == Category::Keyboard);
    show(kMacroFileList, category == Category::Macro && !record_->MacroUsesFolders());
    show(kMacroFolderList, category == Category::Macro && record_->MacroUsesFolders());
    show(kLedLayout, category == Category::Led);
    for (const auto& c : kCategories)
        if (c.list) show(c.list, c.category == category);
    show(kHint, category == Category::None);
}

void KeyEdit::Notify(ui::Notification& n) {
    if (!n.sender) return;
    platform::Trace(n.sender->GetName() + "-" + n.type + ";");
    if (n.type == "itemclick" && n.sender->GetParent() &&
        n.sender->GetParent()->NameIs(Name(kMacroFolderList))) {
        ToggleFolder(n.sender->GetParent()->GetItemIndex(n.sender));
        return;
    }
    if (n.type != "click") return;
    if (n.sender->NameIs(Name("btn_ok"))) {
        CloseIfValid();
    } else if (n.sender->NameIs(Name("btn_cancel")) || n.sender->NameIs(Name("btn_colse"))) {
        Close(kResultCancel);
    } else if (n.sender->NameIs(Name("btn_reset"))) {
        CloseIfValid();
    } else if (n.sender->NameIs(Name("user_defined_setting"))) {
        ShowOnly(Category::Keyboard);
        InstallHook();
    } else {
        for (const auto& c : kCategories) {
            if (c.category == Category::Keyboard || !n.sender->NameIs(Name(c.option))) continue;
            ShowOnly(c.category);
            RemoveHook();
            return;
        }
        for (const auto& m : kModifiers) {
            if (!n.sender->NameIs(Name(m.box))) continue;
            // The click arrives before the box changes: its state is the one before the click.
            OnModifierClick(m.word, IsChecked(m.box));
            return;
        }
    }
}

void KeyEdit::CloseIfValid() {
    const KeySlot* slot = Slot();
    if (slot && !Validate(*slot)) {
        // Over the editor, which stays open so the user can choose again.
        ui::ShowMessageBox(this, Resolve("%{183}"));
        return;
    }
    RemoveHook();
    Close(kResultOk);
}

intptr_t KeyEdit::HandleMessage(uint32_t message, intptr_t wParam, intptr_t, bool& handled) {
    handled = false;
    if (message == ui::kWmKeyDown && static_cast<uint32_t>(wParam) == ui::kVkEscape && !hooked_) {
        Close(kResultCancel);
        handled = true;
    }
    return 0;
}

void KeyEdit::InstallHook() {
    RemoveHook();
    hook_ = ui::InputHooks::Install([this](uint32_t message, uint32_t vk, int32_t) { OnKey(message, vk); });
    hooked_ = true;
}

void KeyEdit::RemoveHook() {
    hook_.Reset();
    hooked_ = false;
}

void KeyEdit::OnKey(uint32_t message, uint32_t vk) {
    if (message != ui::kWmKeyDown && message != ui::kWmSysKeyDown) return;
    if (!capture_.Press(vk, platform::CurrentClock().NowMs())) return;
    const std::string text =
        KeyCapture::WithModifiers(capture_.KeyText(), IsChecked("ctrl_check"), IsChecked("alt_check"),
                                  IsChecked("shift_check"), IsChecked("win_check"));
    if (auto* field = Find<ui::Control>(Name(kKeyField))) field->SetText(text);
}

void KeyEdit::OnModifierClick(std::string_view word, bool wasChecked) {
    auto* field = Find<ui::Control>(Name(kKeyField));
    if (field) field->SetText(KeyCapture::EditModifierText(field->GetText(), word, wasChecked));
}

bool KeyEdit::SelectListItem(std::string_view list, const std::function<bool(const ui::Control&)>& match) {
    auto* l = Find<ui::List>(Name(list));
    if (!l) return false;
    for (int i = 0; i < l->GetCount(); ++i) {
        if (!match(*l->GetItemAt(i))) continue;
        l->SelectItem(i, ui::Notify::No);
        return true;
    }
    return false;
}

// Opens on the category and item of the key's current code, so OK without a new choice keeps it.
void KeyEdit::Preselect(const Code& code) {
    Category found = Category::None;
    const uint32_t whole = static_cast<uint32_t>(code[0]) << 24 | code[1] << 16 | code[2] << 8 | code[3];
    const std::string label = record_->Label(code);
    if (code[0] == kMouseButton) {
        if (SelectListItem(kCategories[0].list, [&](const ui::Control& item) {
                uint32_t v = ParseCode(item.GetUserData());
                return ((v >> 8) & 0xFF) == code[1] && (v & 0xFF) == code[2];
            }))
            found = Category::Mouse;
    } else if (code[0] == kKeyboardKey) {
        for (const auto& m : kModifiers)
            if (auto* box = Find<ui::Option>(Name(m.box)))
                box->SetSelected((code[1] & m.bit) != 0, ui::Notify::No);
        capture_.Preset(spec_.codeBytes == 3 ? code[2] : static_cast<uint32_t>(code[2]) << 8 | code[3],
                        label);
        if (auto* field = Find<ui::Control>(Name(kKeyField))) field->SetText(label);
        found = Category::Keyboard;
    } else if (code[0] == kFireMacroE && RuleOf(Category::FireMacro).rule == CodeRule::GunCode) {
        for (size_t i = 0; i < spec_.gunCodes.size(); ++i) {
            if (spec_.gunCodes[i] != (code[1] & 0x0F)) continue;
            if (auto* list = Find<ui::List>(Name(kCategories[7].list)))
                list->SelectItem(static_cast<int>(i), ui::Notify::No);
            found = Category::FireMacro;
        }
    } else if (macros_->PlaysMacro(code) && !record_->MacroUsesFolders()) {
        if (SelectListItem(kMacroFileList, [&](const ui::Control& item) { return item.GetText() == label; }))
            found = Category::Macro;
    }
    auto* led = Find<ui::Control>(Name("led_switch_setting"));
    if (found == Category::None && led && led->IsVisible() && ParseCode(led->GetUserData()) == whole)
        found = Category::Led;
    // The lists whose items stand for whole codes: special, multimedia, web, PC and, where its items
    // carry codes, the fire macros.
    for (size_t c : {1, 2, 3, 4, 7}) {
        if (found != Category::None) break;
        const Category category = kCategories[c].category;
        if (RuleOf(category).rule == CodeRule::GunCode) continue;
        if (SelectListItem(kCategories[c].list, [&](const ui::Control& item) {
                if (item.GetUserData() == kFireKeyData)
                    return code[0] == kFireKeyE && item.GetResolvedText() == label;
                const std::optional<Code> built = ItemCode(category, item);
                return built && *built == code;
            }))
            found = category;
    }
    for (const auto& c : kCategories) {
        if (c.category != found) continue;
        auto* option = Find<ui::Option>(Name(c.option));
        if (!option || !option->IsVisible()) return;
        option->SetSelected(true, ui::Notify::No);
        ShowOnly(found);
        if (found == Category::Keyboard) InstallHook();
    }
}

KeyEdit::Category KeyEdit::Chosen() const {
    for (const auto& c : kCategories)
        if (IsChecked(c.option)) return c.category;
    return Category::None;
}

int KeyEdit::ListSel(std::string_view list) const {
    auto* l = Find<ui::List>(Name(list));
    return l ? l->GetCurSel() : -1;
}

const ui::Control* KeyEdit::ListItem(std::string_view list) const {
    auto* l = Find<ui::List>(Name(list));
    return l ? l->GetItemAt(l->GetCurSel()) : nullptr;
}

const MacroEntry* KeyEdit::ChosenMacro() const {
    auto& store = MacroStore::Instance();
    if (!record_->MacroUsesFolders()) {
        const int i = ListSel(kMacroFileList);
        auto& list = store.List(spec_.model);
        return i >= 0 && static_cast<size_t>(i) < list.size() ? &list[static_cast<size_t>(i)] : nullptr;
    }
    const int row = ListSel(kMacroFolderList);
    if (row < 0 || static_cast<size_t>(row) >= folderRows_.size() || folderRows_[row].folder) return nullptr;
    const MacroRow& r = folderRows_[static_cast<size_t>(row)];
    auto& set = store.FileSet(spec_.model);
    auto it = set.find(r.key);
    return it != set.end() && r.entry < it->second.size() ? &it->second[r.entry] : nullptr;
}

bool KeyEdit::Validate(const KeySlot& edited) const {
    const Category chosen = Chosen();
    if (chosen == Category::Mouse && ListSel(kCategories[0].list) == 0) return true;
    const bool reserved = record_->CurrentProfile() == spec_.reservedProfile;
    if (chosen == Category::Special && reserved) {
        const ui::Control* item = ListItem(kCategories[1].list);
        if (item && item->GetUserData() != kFireKeyData &&
            ParseCode(item->GetUserData()) == spec_.reservedSpecial)
            return true;
    }
    const auto lists = record_->KeyLists();
    if (keyList_ < 0 || static_cast<size_t>(keyList_) >= lists.size()) return false;
    for (const KeySlot& other : lists[static_cast<size_t>(keyList_)]) {
        if (&other == &edited) continue;
        if (other.code[0] == kMouseButton && other.code[1] == 1) return true;
        if (reserved && other.code[0] == spec_.reservedMacro[0] && other.code[1] == spec_.reservedMacro[1] &&
            other.code[2] == spec_.reservedMacro[2])
            return true;
    }
    return false;
}

std::optional<KeyEdit::Code> KeyEdit::FireKeyCode(const ui::Control& item) const {
    const std::string text = item.GetResolvedText();
    auto same = [&text](const char* ref) { return SameTextIgnoringCase(text, Resolve(ref)); };
    const size_t preset = same("%{122}") ? 0 : same("%{123}") ? 1 : 2;
    return record_->FireKeyCode(preset);
}

uint8_t KeyEdit::FireByte2(int row) {
    const auto& source = spec_.fireByte2[static_cast<size_t>(row)];
    if (!source.control) return 1;
    const std::string name = Name(source.control);
    const ui::Control* control = Find<ui::Control>(name);
    if (!control && Owner()) control = Owner()->Find<ui::Control>(name);
    if (!control) return 1;
    const long value = std::strtol(control->GetUserData().c_str(), nullptr, 10);
    return value >= 1 && value <= source.max ? static_cast<uint8_t>(value) : 1;
}

KeyEdit::Code KeyEdit::ValueCode(uint32_t value) const {
    if (spec_.codeBytes == 3)
        return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                static_cast<uint8_t>(value), 0};
    return Split(value);
}

const CategoryCode& KeyEdit::RuleOf(Category category) const {
    return spec_.listCodes[category == Category::FireMacro
                               ? spec_.listCodes.size() - 1
                               : static_cast<size_t>(category) - static_cast<size_t>(Category::Mouse)];
}

std::optional<KeyEdit::Code> KeyEdit::ItemCode(Category category, const ui::Control& item) const {
    const CategoryCode& rule = RuleOf(category);
    switch (rule.rule) {
        case CodeRule::ClassAndLow16: {
            const uint32_t v = ParseCode(item.GetUserData());
            return Code{rule.classByte, static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v), 0};
        }
        case CodeRule::Value:
            return ValueCode(ParseCode(item.GetUserData()));
        case CodeRule::GunCode:
            break;
    }
    return std::nullopt;
}

std::optional<KeyEdit::Code> KeyEdit::ListCode(Category category, const ui::Control& item) {
    const CategoryCode& rule = RuleOf(category);
    switch (rule.rule) {
        case CodeRule::ClassAndLow16:
            return ItemCode(category, item);
        case CodeRule::Value:
            if (category == Category::Special && item.GetUserData() == kFireKeyData) return FireKeyCode(item);
            return ItemCode(category, item);
        case CodeRule::GunCode: {
            const int i = ListSel(kCategories[7].list);
            if (i < 0 || static_cast<size_t>(i) >= spec_.gunCodes.size()) return std::nullopt;
            const uint8_t keepLeft = KeepLeftFlag(spec_.model) ? 0x10 : 0;
            return Code{kFireMacroE, static_cast<uint8_t>(spec_.gunCodes[static_cast<size_t>(i)] | keepLeft),
                        FireByte2(i), RememberedFireMacroByte(spec_.model)};
        }
    }
    return std::nullopt;
}

std::optional<KeyEdit::Code> KeyEdit::BuildCode(Category category) {
    switch (category) {
        case Category::Mouse:
        case Category::Special:
        case Category::Multimedia:
        case Category::Web:
        case Category::Pc:
        case Category::FireMacro: {
            const ui::Control* item = ListItem(
                kCategories[static_cast<size_t>(category) - static_cast<size_t>(Category::Mouse)].list);
            return item ? ListCode(category, *item) : std::nullopt;
        }
        case Category::Keyboard: {
            uint8_t modifiers = 0;
            for (const auto& m : kModifiers)
                if (IsChecked(m.box)) modifiers |= m.bit;
            const uint32_t keys = capture_.Captured();
            if (!keys && !modifiers) return std::nullopt;  // nothing captured
            if (spec_.codeBytes == 3) return Code{kKeyboardKey, modifiers, static_cast<uint8_t>(keys), 0};
            return Code{kKeyboardKey, modifiers, static_cast<uint8_t>(keys >> 8), static_cast<uint8_t>(keys)};
        }
        case Category::Led: {
            const auto* led = Find<ui::Control>(Name("led_switch_setting"));
            return led ? std::optional<Code>(ValueCode(ParseCode(led->GetUserData()))) : std::nullopt;
        }
        case Category::Macro:  // chosen and sent by the apply step
        case Category::None:
            break;
    }
    return std::nullopt;
}

void KeyEdit::Apply() {
    KeySlot* slot = Slot();
    // The choice was checked before the editor closed; a key the page no longer has is left alone.
    if (!slot || !Validate(*slot)) return;
    // A category without a choice leaves the key, and the macro it plays, as they are. A new macro
    // is downloaded before the old one is released, so a failed download leaves both as they were.
    const Category chosen = Chosen();
    std::optional<Code> code;
    if (chosen == Category::Macro) {
        const MacroEntry* macro = ChosenMacro();
        if (!macro) return;
        code = macros_->Assign(*macro);
        // The editor has closed: the notice belongs to its owner.
        if (!code && macros_->Refusal()) ui::ShowMessageBox(owner_, Resolve(macros_->Refusal()));
    } else {
        code = BuildCode(chosen);
    }
    if (!code) return;
    macros_->Change(*code);
    ApplyModelCategories(chosen);
}

}  // namespace assign
