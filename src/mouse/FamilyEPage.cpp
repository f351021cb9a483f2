#include "mouse/FamilyEPage.h"

#include <array>
#include <cstdio>

#include "assign/AssignmentLabel.h"
#include "device/DeviceLibraryBinding.h"
#include "macro/MacroStore.h"
#include "macro/MarcoMangerFile_Egret.h"
#include "macro/MarcoMangerFolder_Egret.h"
#include "mouse/ColorPicker.h"
#include "mouse/PageOperation.h"
#include "mouse/PointerSettings.h"
#include "platform/DesktopShell.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/controls/Option.h"
#include "ui/core/Container.h"
#include "ui/core/Toolkit.h"
#include "ui/layout/SkinPage.h"
#include "ui/layout/TabLayout.h"

namespace mouse {
namespace {

FamilyEPage::ColourChooser& Chooser() {
    static FamilyEPage::ColourChooser chooser;
    return chooser;
}

// Pages by model, for the library's change reports. Touched on the UI thread only.
std::array<FamilyEPage*, kDeviceModelCount>& Registry() {
    static std::array<FamilyEPage*, kDeviceModelCount> pages{};
    return pages;
}

const DeviceModel kModelTags[kDeviceModelCount] = {DeviceModel::Plover, DeviceModel::Heron,
                                                   DeviceModel::Egret,  DeviceModel::Ibis,
                                                   DeviceModel::Crane,  DeviceModel::HeronDriver};

// Called by a device library on a thread of its own: hand the values to the UI thread.
void OnLibraryChange(int32_t* profile, int32_t* stage, void* context) {
    if (!context || !profile || !stage) return;
    DeviceModel model = *static_cast<const DeviceModel*>(context);
    int p = *profile, s = *stage;
    ui::Toolkit::PostTask([model, p, s] {
        if (FamilyEPage* page = Registry()[static_cast<size_t>(model)]) page->OnDeviceChanged(p, s);
    });
}

const std::vector<std::string> kNavigationButtons = {
    "profile1",          "profile2",     "profile3",           "marco_manager",
    "advanced_Settings", "led_Settings", "fire_macro_Settings"};

}  // namespace

void FamilyEPage::SetColourChooser(ColourChooser chooser) {
    Chooser() = std::move(chooser);
}

FamilyEPage::FamilyEPage(ui::WindowImplBase& owner, const FamilyEModel& model)
    : MousePage(owner, model.page),
      eModel_(model),
      names_(model.page.suffix),
      nav_(names_, kNavigationButtons, "Setting_switch"),
      stages_(names_, *this),
      rapidFire_(names_),
      lighting_(names_, model.lighting ? *model.lighting : LightingEditor::EgretModes()),
      advanced_(names_) {}

FamilyEPage::~FamilyEPage() {
    auto& slot = Registry()[static_cast<size_t>(eModel_.page.model)];
    if (slot == this) {
        slot = nullptr;
        DeviceLibraryBinding::Instance().Call(eModel_.setCallback, DeviceChangeCallback{nullptr},
                                              static_cast<void*>(nullptr));
    }
}

std::unique_ptr<ui::Control> FamilyEPage::CreateSubPage(std::string_view className) {
    // TODO: the macro manager pages, the fire-key editor and the UART LED editor take these places
    // when they exist; until then the places are empty panels of the page.
    std::string suffix = std::string("_") + eModel_.page.suffix;
    for (const char* base :
         {"MacroSettingFolderPage", "MacroSettingFilePage", "FireMacroSettingPage", "UartLedSettingPage"}) {
        if (ui::EqualsNoCase(className, std::string(base) + suffix)) {
            if (std::string_view(base) == "MacroSettingFolderPage") Config().macroUsesFolders = 1;
            if (std::string_view(base) == "MacroSettingFilePage") Config().macroUsesFolders = 0;
            if (eModel_.page.model == DeviceModel::Egret &&
                std::string_view(base) == "MacroSettingFilePage") {
                auto page = std::make_unique<MarcoMangerFile_Egret>(Owner());
                macroPages_.push_back(page.get());
                return page;
            }
            if (eModel_.page.model == DeviceModel::Egret &&
                std::string_view(base) == "MacroSettingFolderPage") {
                auto page = std::make_unique<MarcoMangerFolder_Egret>(Owner());
                macroPages_.push_back(page.get());
                return page;
            }
            if (std::string_view(base) == "FireMacroSettingPage")
                if (auto panel = CreateFireKeyPanel()) return panel;
            return std::make_unique<ui::SkinPage>();
        }
    }
    return nullptr;
}

void FamilyEPage::InitPage() {
    auto& store = MacroStore::Instance();
    store.SyncMacroFolder(eModel_.page.model);
    store.LoadMacroFile(eModel_.page.model);
    // The macro pages were built with the page's skin, before the macros were loaded.
    for (auto* page : macroPages_) page->Reload();
    if (auto* folder = Manager().Find<ui::Option>(names_("macro_view_folder")))
        ShowMacroView(folder->IsSelected());
    nav_.Capture(Manager());
    if (auto* fire = Manager().FindControl(names_("fire_macro_Settings")))
        Config().fireMacroVisible = fire->IsVisible();
    stages_.LoadLabels(Manager());
    Registry()[static_cast<size_t>(eModel_.page.model)] = this;
}

void FamilyEPage::SetConnected(bool connected) {
    connected_ = connected;
    ShowConnectionStatus();
    Refresh();
}

StageModel FamilyEPage::StageFields() {
    auto& c = Config();
    return {c.stageCount, c.currentStage, c.stages};
}

LightingFields FamilyEPage::Lighting() {
    auto& c = Config();
    return {c.lightingMode, c.lightAll, c.lightingSpeed};
}

void FamilyEPage::RequestOperation(int operation) {
    // The notification is delivered later; by then the user may have changed the target again.
    KeepPreparedWrite(operation);
    Manager().SendNotify(nullptr, eModel_.writeRequest, 0, operation, true, true);
}

void FamilyEPage::RequestEditorOperation(int operation, int uartLed) {
    if (operation == kOpUartLed) uartLedIndex_ = uartLed;
    RequestOperation(operation);
}

void FamilyEPage::RequestStageWrite() {
    RequestOperation(kOpStages);
}

void FamilyEPage::StageColourChanged() {
    if (eModel_.stageColourChanged)
        Manager().SendNotify(nullptr, eModel_.stageColourChanged, 0, 2, true, true);
}

bool FamilyEPage::ChooseColour(uint32_t& argb) {
    if (Chooser()) return Chooser()(Owner(), argb);
    ColorPicker picker(&Owner());
    return picker.Choose(argb);
}

void FamilyEPage::LabelKeys() {
    auto& c = Config();
    if (c.keyLists.empty()) return;
    const size_t keys = c.keyLists[0].size();
    const auto& current =
        c.keyLists[static_cast<size_t>(std::clamp(c.currentProfile, 0, int(c.keyLists.size()) - 1))];
    for (size_t i = 1; i <= keys; ++i) {
        auto* button = Manager().FindControl(names_.KeyButton(static_cast<int>(i)));
        if (!button || i > current.size()) continue;
        const KeySlot& slot = current[i - 1];
        // Labelling also updates the rapid-fire presets from the fire keys it meets.
        button->SetText(assign::AssignmentLabel(eModel_.page.model, c, slot.code[0], slot.code[1],
                                                slot.code[2], slot.code[3]));
    }
}

void FamilyEPage::SelectProfile(int profile) {
    nav_.Select(Manager(), "profile" + std::to_string(profile + 1));
    nav_.ShowPage(Manager(), 0);
}

void FamilyEPage::Refresh() {
    auto* root = Manager().FindControl("device_Mouse_" + names_.Suffix() + "_page");
    if (!connected_) {
        if (root) root->SetEnabled(false);
        return;
    }
    if (root) root->SetEnabled(true);
    nav_.Reset(Manager());
    LabelKeys();
    SelectProfile(Config().currentProfile);
    // The slots take their continuous flags from the current profile's fire keys, as labelling them does.
    auto& c = Config();
    if (!c.keyLists.empty())
        for (const KeySlot& slot :
             c.keyLists[static_cast<size_t>(std::clamp(c.currentProfile, 0, int(c.keyLists.size()) - 1))])
            RapidFireEditor::NoteFireCode(slot.code, c);
    rapidFire_.Show(Manager(), c);
    advanced_.ShowPointer(Manager(), PointerSettings::Instance().Get());
    stages_.Show(Manager(), StageFields());
    advanced_.ShowReportRate(Manager(), c.reportRate);
    lighting_.Show(Manager(), Lighting());
    if (ledTabPending_) {
        ledTabPending_ = false;
        HandleClick(Manager().FindControl(names_("led_Settings")));
    }
}

void FamilyEPage::OnDeviceChanged(int profile, int stage) {
    auto& c = Config();
    if (profile != c.currentProfile && profile >= 0 && profile < static_cast<int>(c.keyLists.size())) {
        c.currentProfile = profile;
        nav_.Reset(Manager());
        LabelKeys();
        SelectProfile(profile);
    }
    // A stage the page has not enabled would be written back with the next stage write.
    if (stage != c.currentStage && StageEditor::IsEnabled(stage, c.stageCount)) {
        c.currentStage = stage;
        stages_.Show(Manager(), StageFields());
    }
}

int FamilyEPage::KeyButtonNumber(const ui::Control* sender) {
    auto& c = Config();
    if (!sender || c.keyLists.empty()) return 0;
    for (int i = 1; i <= static_cast<int>(c.keyLists[0].size()); ++i)
        if (sender->NameIs(names_.KeyButton(i))) return i;
    return 0;
}

bool FamilyEPage::HandleClick(ui::Control* sender) {
    if (!sender) return false;
    auto& m = Manager();
    for (int p = 0; p < 3; ++p) {
        if (!sender->NameIs(names_("profile" + std::to_string(p + 1)))) continue;
        nav_.ShowPage(m, 0);
        Config().currentProfile = p;
        LabelKeys();
        nav_.Reset(m);
        nav_.Select(m, "profile" + std::to_string(p + 1));
        RequestOperation(kOpProfile);
        return true;
    }
    struct Section {
        const char* button;
        int page;
    };
    for (const Section s : {Section{"marco_manager", 1}, Section{"fire_macro_Settings", 5},
                            Section{"advanced_Settings", 2}, Section{"led_Settings", -1}}) {
        if (!sender->NameIs(names_(s.button))) continue;
        nav_.Reset(m);
        nav_.Select(m, s.button);
        nav_.ShowPage(m, s.page >= 0 ? s.page : LightingPage());
        if (s.page < 0) LightingShown();
        if (s.page == 5) FireKeyTabOpened();
        return true;
    }
    if (sender->NameIs(names_("macro_view_file")) || sender->NameIs(names_("macro_view_folder"))) {
        ShowMacroView(sender->NameIs(names_("macro_view_folder")));
        return true;
    }
    if (sender->NameIs(names_("reset_data"))) {
        RequestOperation(kOpRestoreDefaults);
        return true;
    }
    for (const bool save : {true, false}) {
        if (!sender->NameIs(names_(save ? "save_data" : "import_data"))) continue;
        auto path = save ? ProfileFiles::AskSavePath(&Owner()) : ProfileFiles::AskOpenPath(&Owner());
        filePath_ = path.value_or("");
        if (!filePath_.empty()) RequestOperation(save ? kOpSaveFile : kOpLoadFile);
        return true;
    }
    ui::Notification click;
    click.type = "click";
    click.sender = sender;
    if (stages_.Handle(m, click, StageFields())) return true;
    if (sender->NameIs(names_("web_data"))) {
        platform::OpenWithDefaultHandler(sender->GetUserData());
        return true;
    }
    if (int number = KeyButtonNumber(sender)) {
        // Looked up again after the editor: a reconnection while it was open replaces the lists.
        auto slotOf = [this, number]() -> KeySlot* {
            auto& c = Config();
            const auto profile = static_cast<size_t>(c.currentProfile);
            if (c.currentProfile < 0 || profile >= c.keyLists.size()) return nullptr;
            auto& keys = c.keyLists[profile];
            const auto key = static_cast<size_t>(number - 1);
            return key < keys.size() ? &keys[key] : nullptr;
        };
        KeySlot* slot = slotOf();
        if (!slot || !EditKey(*slot) || !(slot = slotOf())) return true;
        sender->SetText(assign::AssignmentLabel(eModel_.page.model, Config(), slot->code[0], slot->code[1],
                                                slot->code[2], slot->code[3]));
        editedKeyIndex_ = slot->keyIndex;
        RequestOperation(kOpKey);
        return true;
    }
    return false;
}

void FamilyEPage::ShowMacroView(bool folder) {
    // A skin with both macro pages lets the user choose; the key editor follows the view shown.
    auto* views = Manager().Find<ui::TabLayout>(names_("macro_view"));
    if (!views) return;
    views->SelectItem(folder ? 1 : 0, ui::Notify::No);
    Config().macroUsesFolders = folder ? 1 : 0;
}

void FamilyEPage::OnNotify(ui::Notification& n) {
    auto& m = Manager();
    if (n.type == "click") {
        HandleClick(n.sender);
    } else if (n.type == "selectchanged" || n.type == "itemselect" || n.type == "valuechanged" ||
               n.type == "valuechanging" || n.type == "textchanged" || n.type == "killfocus") {
        if (n.sender && !HandleSettings(n)) stages_.Handle(m, n, StageFields());
    } else if (!n.sender && n.type == eModel_.page.connectionError) {
        SetConnected(false);
    } else if (!n.sender && n.type == eModel_.readNotification) {
        connected_ = true;
        ShowConnectionStatus();
        Refresh();
    } else if (!n.sender && n.type == "Update_Profile") {
        if (connected_ && m.GetRoot()) m.GetRoot()->NeedUpdate();
    } else if (!n.sender && n.type == "Change_Language_Profile") {
        if (connected_) LabelKeys();
    }
}

std::unique_ptr<PageWork> FamilyEPage::ReadDevice() {
    auto fresh = NewConfig();
    int keyCount = 0;
    if (auto* keys = Manager().Find<ui::Container>(names_("profile_page"))) keyCount = keys->GetCount();
    return std::make_unique<FunctionWork>([this, fresh, keyCount] { return ReadRecord(*fresh, keyCount); },
                                          [this, fresh](bool ok) {
                                              if (ok) Adopt(fresh);
                                              SetConnected(ok);
                                          });
}

bool FamilyEPage::HandleSettings(ui::Notification& n) {
    auto& m = Manager();
    auto& c = Config();
    int slot = 0;
    bool changed = false;
    if (rapidFire_.Handle(m, n, c, slot)) {
        if (slot) RequestOperation(kOpRapidFire1 + slot - 1);
        return true;
    }
    if (advanced_.HandlePointer(m, n)) return true;
    if (advanced_.HandleReportRate(n, c.reportRate, changed)) {
        if (changed) RequestOperation(kOpReportRate);
        return true;
    }
    if (lighting_.Handle(n, Lighting(), changed)) {
        if (changed) RequestOperation(kOpLighting);
        return true;
    }
    return false;
}

std::unique_ptr<PageWork> FamilyEPage::RapidFireWork(int operation) {
    // The slot's boxes as they are now; the record's fire keys follow at once, the device on the worker.
    const int slot = operation - kOpRapidFire1;
    auto keys = RapidFireEditor::UpdateSlot(Config(), slot, rapidFire_.Edited(Manager(), slot + 1));
    auto copy = CopyConfig();
    return DeviceWrite(
        [this, copy, operation, keys] {
            bool ok = true;
            for (const auto& [profile, key] : keys) ok = WriteKey(*copy, profile, key) && ok;
            return WriteRecord(*copy, operation, 0) && ok;
        },
        std::to_string(operation));
}

std::unique_ptr<PageWork> FamilyEPage::ProfileFileWork(int operation) {
    const ProfileFileModel& files = *eModel_.profileFiles;
    if (operation == kOpRestoreDefaults) filePath_ = ProfileFiles::DefaultFile(files);
    const std::string path = filePath_;
    const int32_t flag = Config().fireMacroVisible;
    auto open = [this, flag] { return Open(false, flag); };
    if (operation == kOpSaveFile) {
        auto result = std::make_shared<ProfileFileResult>(ProfileFileResult::Done);
        return std::make_unique<FunctionWork>(
            [&files, path, open, result] {
                return (*result = ProfileFiles::Save(files, path, open)) == ProfileFileResult::Done;
            },
            [this, result](bool) { ProfileFiles::Report(&Owner(), *result, true); });
    }
    // A load, then the device is read again: the page shows what the device took.
    auto fresh = NewConfig();
    int keyCount = 0;
    if (auto* keys = Manager().Find<ui::Container>(names_("profile_page"))) keyCount = keys->GetCount();
    auto result = std::make_shared<ProfileFileResult>(ProfileFileResult::Done);
    auto readOk = std::make_shared<bool>(false);
    const bool reset = operation == kOpRestoreDefaults;
    return std::make_unique<FunctionWork>(
        [this, &files, path, open, result, readOk, fresh, keyCount] {
            *result = ProfileFiles::Load(files, path, open);
            if (*result != ProfileFileResult::Done) return false;
            return *readOk = ReadRecord(*fresh, keyCount);
        },
        [this, result, readOk, fresh, reset](bool) {
            if (*result == ProfileFileResult::Done) {
                if (*readOk) Adopt(fresh);
                SetConnected(*readOk);
            }
            // A missing default file makes a reset do nothing.
            if (!(reset && *result == ProfileFileResult::FileUnreadable))
                ProfileFiles::Report(&Owner(), *result, false);
        });
}

std::unique_ptr<PageWork> FamilyEPage::PrepareWrite(int operation) {
    if (operation >= kOpRapidFire1 && operation <= kOpRapidFire3) return RapidFireWork(operation);
    if (operation == kOpRestoreDefaults || operation == kOpSaveFile || operation == kOpLoadFile) {
        if (eModel_.profileFiles) return ProfileFileWork(operation);
        return std::make_unique<FunctionWork>(nullptr, nullptr);
    }
    if (operation == kOpUartLed) ledTabPending_ = true;
    auto copy = CopyConfig();
    int key = 0;
    std::string mergeKey = std::to_string(operation);
    if (operation == kOpKey) {
        key = editedKeyIndex_;
        mergeKey += ":" + std::to_string(copy->currentProfile) + "/" + std::to_string(key);
    } else if (operation == kOpUartLed) {
        key = uartLedIndex_;
        mergeKey += ":" + std::to_string(key);
    }
    return DeviceWrite([this, copy, operation, key] { return WriteRecord(*copy, operation, key); },
                       std::move(mergeKey));
}

std::unique_ptr<PageWork> FamilyEPage::Reopen() {
    int32_t flag = Config().fireMacroVisible;
    return std::make_unique<FunctionWork>([this, flag] { return Open(false, flag); }, nullptr);
}

void FamilyEPage::RegisterChangeCallback() {
    DeviceChangeCallback callback = &OnLibraryChange;
    DeviceLibraryBinding::Instance().Call(
        eModel_.setCallback, callback,
        const_cast<void*>(static_cast<const void*>(&kModelTags[static_cast<size_t>(eModel_.page.model)])));
}

}  // namespace mouse
