#include "keyboard/CDialogKeySetting.h"

#include <algorithm>

#include "device/DeviceLibraryBinding.h"
#include "device/DeviceName.h"
#include "device/ModelTable.h"
#include "keyboard/KeyEdit.h"
#include "keyboard/MarcoManger.h"
#include "macro/MacroStore.h"
#include "page/ProfileFiles.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "ui/controls/AnimatedPicture.h"
#include "ui/controls/Button.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"
#include "ui/core/Container.h"

namespace keyboard {
namespace {

using K = KeyboardConfig;
using page::ProfileFileResult;
using page::ProfileFiles;

constexpr const char* kWriteButton = "write_data_Plover";
constexpr const char* kKeyContainer = "key_button_container";
constexpr const char* kUnavailableText = "%{081}";
constexpr const char* kTransferText = "%{083}";
constexpr const char* kWrongSizeText = "%{617}";
constexpr const char* kFileWriteText = "%{618}";
constexpr int kSpaceBar = 0x2C;
constexpr uint32_t kSettleMs = 100;  // after a whole image, before the keyboard answers again

bool Inside(const ui::Control* control, const ui::Control* page) {
    for (const ui::Control* c = control; c; c = c->GetParent())
        if (c == page) return true;
    return false;
}

MacroList& KeyboardMacros() {
    return MacroStore::Instance().List(K::kModel);
}

// The keyboard's answers to one read. `opened` tells a missing keyboard from a failed transfer.
bool ReadKeyboard(KeyboardRead& read, bool& opened, const std::function<bool()>& open) {
    auto& binding = DeviceLibraryBinding::Instance();
    opened = open();
    if (!opened) return false;
    for (int p = 0; p < K::kProfiles; ++p)
        if (!binding.ReadKeyTable(p, read.tables[static_cast<size_t>(p)])) return false;
    KeyboardConfig led;
    for (int b = 0; b < K::kProfiles; ++b) {
        if (!binding.ReadLedBlock(led, b)) return false;
        read.ledBlocks[static_cast<size_t>(b)] = led.ledBlocks[static_cast<size_t>(b)];
    }
    int32_t profile = 0;
    if (binding.Call(EntryPoint::Device_GetProFileIndex, &profile) != 0) return false;
    read.profile = std::clamp<int32_t>(profile, 0, K::kProfiles - 1);
    // The macros the keys play; a slot the keyboard cannot hand out leaves its keys unnamed.
    for (const auto& table : read.tables) {
        auto fetch = [&](int code) {
            const int slot = code - K::kMacroCodeBase;
            if (slot < 0 || slot >= K::kMaxMacros || read.macroSlots.count(slot)) return;
            std::array<uint8_t, 32> name{};
            std::vector<uint8_t> events(144, 0);
            if (binding.Call(EntryPoint::Device_GetMarcoData, int32_t{slot}, AsBuffer(name),
                             AsBuffer(events)) != 0)
                return;
            read.macroSlots[slot] =
                MacroEntry{DecodeDeviceName(name.data(), name.size()), std::move(events), 0};
        };
        for (int i = 0; i < K::kKeySlots; ++i) fetch(table[static_cast<size_t>(i)]);
        for (int j = 0; j < K::kFnKeys; ++j) fetch(table[static_cast<size_t>(K::kFnOffset + j)]);
    }
    return true;
}

bool WriteKeyboardRecord(const KeyboardConfig& config, const std::function<bool()>& open) {
    auto& binding = DeviceLibraryBinding::Instance();
    if (!open()) return false;
    bool ok = true;
    for (int p = 0; p < K::kProfiles; ++p)
        // Without the default image the page knows no key; it must not wipe the keyboard's.
        if (!config.keyTables[static_cast<size_t>(p)].empty())
            ok = binding.WriteKeyTable(p, BuildKeyTable(config, p)) && ok;
    ok = binding.Call(EntryPoint::Device_WriteProFileIndex, int32_t{config.currentProfile}) == 0 && ok;
    ok = binding.WriteMacros(config.macros) && ok;
    for (int b = 0; b < K::kProfiles; ++b) ok = binding.WriteLedBlock(config, b) && ok;
    return binding.Call(EntryPoint::Device_ReloadDevice) == 0 && ok;
}

std::string MessageFor(ProfileFileResult result) {
    switch (result) {
        case ProfileFileResult::Done:
            return {};
        case ProfileFileResult::DeviceUnavailable:
            return kUnavailableText;
        case ProfileFileResult::DeviceRefused:
            return kTransferText;
        case ProfileFileResult::FileUnreadable:
        case ProfileFileResult::FileTooLong:
            return kWrongSizeText;
        case ProfileFileResult::WriteFailed:
            return kFileWriteText;
    }
    return {};
}

}  // namespace

CDialogKeySetting::CDialogKeySetting(ui::WindowImplBase& owner) : DevicePage(owner, RowOf(kModel)) {}

CDialogKeySetting::~CDialogKeySetting() = default;

void CDialogKeySetting::InitPage() {
    // Shipped files come from the program folder, never the current one.
    if (auto image = platform::ReadFileBytes(ProfileFiles::DefaultFile(kDefaultFile), K::kImageSize))
        LoadDefaults(config_, *image);
    MacroStore::Instance().LoadMacroFile(kModel);
    ShowLoading(false);
    ShowPending();
}

void CDialogKeySetting::SetConnected(bool connected) {
    DevicePage::SetConnected(connected);
    Refresh();
}

void CDialogKeySetting::ShowKey(ui::Control& button, const KeyboardKey& key) {
    const bool space = key.code == kSpaceBar;
    const bool changed = key.code != key.defaultCode;
    const char* image = space ? (changed ? "key_change_Spacebar.png" : "key_normal_Spacebar.png")
                              : (changed ? "key_change.png" : "key_normal.png");
    button.SetNormalImage(std::string("file='Image/") + image + "' corner='8,8,8,8'");
    // The cap keeps its legend, so the picture stays a keyboard; what the key does is its tooltip.
    button.SetToolTip(key.text);
}

void CDialogKeySetting::Refresh() {
    auto& m = Manager();
    auto* area = m.FindControl("device_keyboard_page");
    if (!connected_) {
        if (area) area->SetEnabled(false);
        return;
    }
    if (area) area->SetEnabled(true);
    const auto& keys = config_.keyTables[static_cast<size_t>(config_.currentProfile)];
    if (auto* container = dynamic_cast<ui::Container*>(m.FindControl(kKeyContainer))) {
        for (int i = 0; i < container->GetCount(); ++i) {
            ui::Control* button = container->GetItemAt(i);
            auto it = keys.find(button->GetName());
            if (it != keys.end()) ShowKey(*button, it->second);
        }
    }
    if (auto* option = Find<ui::Option>("profile" + std::to_string(config_.currentProfile)))
        option->SetSelected(true, ui::Notify::No);
    RefreshLighting();
}

void CDialogKeySetting::RefreshLighting() {
    const auto& led = Led();
    if (auto* s = Find<ui::Slider>("led_light")) s->SetValue(led[K::kLedBrightness], ui::Notify::No);
    if (auto* s = Find<ui::Slider>("led_Speed")) s->SetValue(led[K::kLedSpeed], ui::Notify::No);
    if (auto* combo = Find<ui::Combo>("led_type_combo")) combo->SelectItem(led[K::kLedType], ui::Notify::No);
    // 1 is synchronised lighting on the keyboard; the option shows and sets the same byte.
    if (auto* sync = Find<ui::Option>("led_sync")) sync->SetSelected(led[K::kLedSync] == 1, ui::Notify::No);
    if (auto* label = Find<ui::Control>("led_light_display"))
        label->SetText(std::to_string(led[K::kLedBrightness]));
    if (auto* label = Find<ui::Control>("led_Speed_dispaly"))
        label->SetText(std::to_string(led[K::kLedSpeed]));
}

void CDialogKeySetting::Edited() {
    pending_.Edited();
    ShowPending();
}

void CDialogKeySetting::ShowPending() {
    ShowWriteButton(kWriteButton, pending_.IsPending(), "%{604}", "%{623}");
}

void CDialogKeySetting::ShowLoading(bool shown) {
    auto* gif = Find<ui::AnimatedPicture>("loading_gif");
    if (!gif) return;
    gif->SetVisible(shown);
    if (shown)
        gif->Start();
    else
        gif->Stop();
}

void CDialogKeySetting::OnNotify(ui::Notification& n) {
    DevicePage::OnNotify(n);
    if (!n.sender) {
        if (n.type == Row().readNotification) {
            connected_ = true;
            Refresh();
        }
        return;
    }
    if (!Inside(n.sender, this)) return;
    ui::Control* s = n.sender;
    const std::string& t = n.type;
    if (t == "click") {
        OnClick(s);
    } else if (t == "selectchanged") {
        for (int p = 0; p < K::kProfiles; ++p) {
            if (!s->NameIs("profile" + std::to_string(p))) continue;
            auto* option = dynamic_cast<ui::Option*>(s);
            if (!option || !option->IsSelected() || config_.currentProfile == p) return;
            config_.currentProfile = p;
            Edited();
            Refresh();
            return;
        }
        if (s->NameIs("led_sync")) {
            auto* option = dynamic_cast<ui::Option*>(s);
            Led()[K::kLedSync] = option && option->IsSelected() ? 1 : 0;
            Edited();
        }
    } else if (t == "itemselect" && s->NameIs("led_type_combo")) {
        auto* combo = dynamic_cast<ui::Combo*>(s);
        if (!combo || combo->GetCurSel() < 0) return;
        Led()[K::kLedType] = static_cast<uint8_t>(combo->GetCurSel());
        Edited();
    } else if (t == "valuechanged" || t == "valuechanging") {
        auto* slider = dynamic_cast<ui::Slider*>(s);
        if (!slider) return;
        const bool light = s->NameIs("led_light");
        if (!light && !s->NameIs("led_Speed")) return;
        const int value = std::clamp(slider->GetValue(), 0, 255);
        if (t == "valuechanging") {
            if (auto* label = Find<ui::Control>(light ? "led_light_display" : "led_Speed_dispaly"))
                label->SetText(std::to_string(value));
            return;
        }
        Led()[light ? K::kLedBrightness : K::kLedSpeed] = static_cast<uint8_t>(value);
        Edited();
        RefreshLighting();
    }
}

bool CDialogKeySetting::OnClick(ui::Control* s) {
    for (const ResetButton& reset : Row().resetButtons) {
        if (!s->NameIs(reset.button)) continue;
        // Every key, macro and light the user set is replaced: only when they say so.
        if (ProfileFiles::ConfirmRestore(&Owner())) RequestOperation(reset.operation);
        return true;
    }
    if (s->GetParent() && s->GetParent()->NameIs(kKeyContainer)) {
        const auto& keys = config_.keyTables[static_cast<size_t>(config_.currentProfile)];
        if (keys.count(s->GetName())) EditEntry(s->GetName(), false);
        return true;
    }
    if (s->NameIs("FN_Setting")) {
        EditEntry(FnEntryName(1), true);
    } else if (s->NameIs("marco_manager")) {
        OpenMacroWindow();
    } else if (s->NameIs(kWriteButton)) {
        RequestOperation(kOpWrite);
    } else if (s->NameIs("save_data_Plover") || s->NameIs("import_data_Plover")) {
        const bool save = s->NameIs("save_data_Plover");
        auto path = save ? ProfileFiles::AskSavePath(&Owner()) : ProfileFiles::AskOpenPath(&Owner());
        if (!path) return true;
        filePath_ = *path;
        RequestOperation(save ? kOpSave : kOpImport);
    } else {
        return false;
    }
    return true;
}

void CDialogKeySetting::EditEntry(const std::string& name, bool fn) {
    KeyEdit editor(&Owner(), config_, name, fn);
    if (!editor.RunModal()) return;
    if (editor.Changed()) Edited();
    Refresh();
}

void CDialogKeySetting::OpenMacroWindow() {
    if (macroWindow_ && macroWindow_->IsOpen()) {
        macroWindow_->BringToFront();
        return;
    }
    macroWindow_ = std::make_unique<MarcoManger>(Owner(), [this] {
        // A macro a key plays changed: the keyboard gets it with the next write.
        for (const auto& slot : config_.macros)
            for (const auto& entry : KeyboardMacros())
                if (entry->name == slot->name && entry->data != slot->data) return Edited();
    });
    macroWindow_->Open();
}

void CDialogKeySetting::RequestOperation(int operation) {
    // The copy is taken now; the request is delivered later.
    if (Row().WriteOf(operation) != WriteGroup::All) ShowLoading(true);
    KeepPreparedWrite(operation);
    Manager().SendNotify(nullptr, Row().writeRequest, 0, operation, true, true);
}

void CDialogKeySetting::Adopt(const KeyboardRead& read, bool replaceEdits) {
    // Edits the keyboard does not have yet stay on the page (and pending) over a reconnection.
    if (pending_.IsPending() && !replaceEdits) return;
    auto& macros = KeyboardMacros();
    config_.macros.Clear();
    for (const auto& [slot, macro] : read.macroSlots) {
        bool known = false;
        for (const auto& entry : macros) known = known || entry->name == macro.name;
        if (!known && !macro.name.empty()) macros.Add(macro);
    }
    for (int p = 0; p < K::kProfiles; ++p)
        TakeKeyTable(config_, p, read.tables[static_cast<size_t>(p)], read.macroSlots);
    config_.ledBlocks = read.ledBlocks;
    config_.currentProfile = read.profile;
    RebuildSlots(config_, macros);
    pending_.Clear();
    ShowPending();
    if (macroWindow_) macroWindow_->Reload();
}

std::unique_ptr<PageWork> CDialogKeySetting::ReadDevice() {
    auto read = std::make_shared<KeyboardRead>();
    auto opened = std::make_shared<bool>(false);
    return std::make_unique<FunctionWork>(
        [this, read, opened] { return ReadKeyboard(*read, *opened, [this] { return Open(false); }); },
        [this, read, opened](bool ok) {
            if (ok) Adopt(*read, false);
            // A failure after the keyboard opened leaves the connection as it was.
            SetConnected(ok ? true : *opened ? connected_ : false);
        });
}

std::unique_ptr<PageWork> CDialogKeySetting::PrepareWrite(int operation) {
    switch (Row().WriteOf(operation)) {
        case WriteGroup::All:
            return WriteKeyboard();
        case WriteGroup::SaveFile:
        case WriteGroup::LoadFile:
        case WriteGroup::RestoreDefaults:
            return FileWork(operation);
        default:
            return std::make_unique<FunctionWork>(nullptr, nullptr);
    }
}

std::unique_ptr<PageWork> CDialogKeySetting::WriteKeyboard() {
    // The macros the keys play go with their latest steps.
    RebuildSlots(config_, KeyboardMacros());
    auto copy = std::make_shared<const KeyboardConfig>(config_);
    const uint64_t generation = pending_.Generation();
    return DeviceWrite([this, copy] { return WriteKeyboardRecord(*copy, [this] { return Open(false); }); },
                       "write",
                       [this, generation](bool ok) {
                           if (ok) pending_.Written(generation);
                           ShowPending();
                       });
}

std::unique_ptr<PageWork> CDialogKeySetting::FileWork(int operation) {
    const ProfileImageSpec& image = Row().profileImage;
    std::string path = filePath_;
    // A restore loads its button's default file, wherever the request came from.
    for (const ResetButton& reset : Row().resetButtons)
        if (reset.operation == operation) path = ProfileFiles::DefaultFile(reset.defaultFile);
    auto open = [this] { return Open(false); };
    auto result = std::make_shared<ProfileFileResult>(ProfileFileResult::Done);
    if (Row().WriteOf(operation) == WriteGroup::SaveFile) {
        return std::make_unique<FunctionWork>(
            [&image, path, open, result] {
                return (*result = ProfileFiles::Save(image, path, open)) == ProfileFileResult::Done;
            },
            [this, result](bool) {
                ShowLoading(false);
                ProfileFiles::Show(&Owner(), MessageFor(*result));
            });
    }
    // Only a whole memory image goes to the keyboard; then the page shows what it took.
    auto read = std::make_shared<KeyboardRead>();
    auto readOk = std::make_shared<bool>(false);
    return std::make_unique<FunctionWork>(
        [&image, path, open, result, read, readOk] {
            auto bytes = platform::ReadFileBytes(path, image.imageSize + 1);
            if (!bytes || bytes->size() != image.imageSize) {
                *result = ProfileFileResult::FileTooLong;
                return false;
            }
            *result = ProfileFiles::Load(image, path, open);
            if (*result != ProfileFileResult::Done) return false;
            if (DeviceLibraryBinding::Instance().Call(EntryPoint::Device_ReloadDevice) != 0) {
                *result = ProfileFileResult::DeviceRefused;
                return false;
            }
            platform::CurrentClock().SleepMs(kSettleMs);
            bool opened = false;
            *readOk = ReadKeyboard(*read, opened, open);
            return *readOk;
        },
        [this, result, read, readOk](bool) {
            ShowLoading(false);
            if (*readOk) {
                Adopt(*read, true);
                SetConnected(true);
            }
            ProfileFiles::Show(&Owner(), MessageFor(*result));
        });
}

}  // namespace keyboard
