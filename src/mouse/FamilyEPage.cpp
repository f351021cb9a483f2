#include "mouse/FamilyEPage.h"

#include <algorithm>
#include <array>

#include "assign/AssignmentLabel.h"
#include "device/DeviceLibraryBinding.h"
#include "mouse/ColorPicker.h"
#include "mouse/MousePageParts.h"
#include "mouse/PageOperation.h"
#include "mouse/PointerSettings.h"
#include "platform/Clock.h"
#include "ui/controls/Option.h"
#include "ui/core/Container.h"
#include "ui/core/Toolkit.h"
#include "ui/layout/SkinPage.h"

namespace mouse {
namespace {

// Where the library's change reports go, by model. Touched on the UI thread only.
std::array<std::function<void(int, int)>, kDeviceModelCount>& Registry() {
    static std::array<std::function<void(int, int)>, kDeviceModelCount> pages{};
    return pages;
}

// Called by a device library on a thread of its own: hand the values to the UI thread. The context
// is the model field of the page's table row.
void OnLibraryChange(int32_t* profile, int32_t* stage, void* context) {
    if (!context || !profile || !stage) return;
    DeviceModel model = *static_cast<const DeviceModel*>(context);
    int p = *profile, s = *stage;
    ui::Toolkit::PostTask([model, p, s] {
        if (auto& page = Registry()[static_cast<size_t>(model)]) page(p, s);
    });
}

const std::vector<std::string> kNavigationButtons = {
    "profile1",          "profile2",     "profile3",           "marco_manager",
    "advanced_Settings", "led_Settings", "fire_macro_Settings"};

// The device kind a record holds; 0 for a model without variants.
template <class Record>
int KindOf(const Record& record) {
    if constexpr (requires { record.deviceKind; })
        return record.deviceKind;
    else
        return 0;
}

}  // namespace

template <class Record>
FamilyEPage<Record>::FamilyEPage(ui::WindowImplBase& owner, const LightingModel& lighting)
    : ModelPage(owner, RowOf(kModel), kNavigationButtons),
      stages_(names_, *this),
      rapidFire_(names_),
      lighting_(names_, lighting),
      advanced_(names_) {}

template <class Record>
FamilyEPage<Record>::~FamilyEPage() {
    auto& slot = Registry()[static_cast<size_t>(kModel)];
    if (slot) {
        slot = nullptr;
        if (Row().setCallback != kNoEntryPoint)
            DeviceLibraryBinding::Instance().Call(Row().setCallback, DeviceChangeCallback{nullptr},
                                                  static_cast<void*>(nullptr));
    }
}

template <class Record>
int FamilyEPage<Record>::DeviceKind() const {
    return KindOf(config_);
}

template <class Record>
std::unique_ptr<assign::FireKeyEdit> FamilyEPage<Record>::CreateFireKeyPanel() {
    if (!assign::FindFireKeyEditSpec(kModel)) return nullptr;
    return std::make_unique<assign::ModelFireKeyEdit<Record>>(
        config_, [this](uint32_t& argb) { return ChooseColour(argb); });
}

template <class Record>
std::unique_ptr<ui::Control> FamilyEPage<Record>::CreateSubPage(std::string_view className) {
    const SubPages& sub = Row().subPages;
    const char* suffix = Row().suffix;
    bool folder = false;
    if (auto page = CreateMacroSubPage(className, folder)) {
        config_.macroUsesFolders = folder ? 1 : 0;
        return page;
    }
    if (IsSubPage(className, sub.fireKeys, suffix)) {
        if (auto panel = CreateFireKeyPanel()) {
            firePanel_ = panel.get();
            return panel;
        }
        return std::make_unique<ui::SkinPage>();
    }
    if (IsSubPage(className, sub.uartLeds, suffix)) return std::make_unique<ui::SkinPage>();
    return nullptr;
}

template <class Record>
void FamilyEPage<Record>::InitPage() {
    InitSections();
    if (auto* fire = Manager().FindControl(names_("fire_macro_Settings")))
        config_.fireMacroVisible = fire->IsVisible();
    stages_.LoadLabels(Manager());
    Registry()[static_cast<size_t>(kModel)] = [this](int profile, int stage) {
        OnDeviceChanged(profile, stage);
    };
}

template <class Record>
StageModel FamilyEPage<Record>::StageFields() {
    return {config_.stageCount, config_.currentStage, config_.stages};
}

template <class Record>
LightingFields FamilyEPage<Record>::Lighting() {
    return {config_.lightingMode, config_.lightAll, config_.lightingSpeed};
}

template <class Record>
void FamilyEPage<Record>::RequestEditorOperation(int operation, int uartLed) {
    if (Row().WriteOf(operation) == WriteGroup::UartLed) uartLedIndex_ = uartLed;
    RequestOperation(operation);
}

template <class Record>
void FamilyEPage<Record>::RequestStageWrite() {
    RequestOperation(kOpStages);
}

template <class Record>
void FamilyEPage<Record>::StageColourChanged() {
    if (Row().stageColourChanged) Manager().SendNotify(nullptr, Row().stageColourChanged, 0, 2, true, true);
}

template <class Record>
bool FamilyEPage<Record>::ChooseColour(uint32_t& argb) {
    return ColorPicker::Ask(Owner(), argb);
}

template <class Record>
void FamilyEPage<Record>::LabelKeys() {
    auto& c = config_;
    if (c.keyLists.empty()) return;
    const size_t keys = c.keyLists[0].size();
    const auto& current =
        c.keyLists[static_cast<size_t>(std::clamp(c.currentProfile, 0, int(c.keyLists.size()) - 1))];
    for (size_t i = 1; i <= keys; ++i) {
        auto* button = Manager().FindControl(names_.KeyButton(static_cast<int>(i)));
        if (!button || i > current.size()) continue;
        // Labelling also updates the rapid-fire presets from the fire keys it meets.
        button->SetText(assign::AssignmentLabel(c, current[i - 1]));
    }
}

template <class Record>
void FamilyEPage<Record>::Refresh() {
    if (!ShowEnabled()) return;
    nav_.Reset(Manager());
    LabelKeys();
    SelectProfile(config_.currentProfile);
    // The slots take their continuous flags from the current profile's fire keys, as labelling them does.
    auto& c = config_;
    if (!c.keyLists.empty())
        for (const KeySlot& slot :
             c.keyLists[static_cast<size_t>(std::clamp(c.currentProfile, 0, int(c.keyLists.size()) - 1))])
            RapidFireEditor::NoteFireCode(slot.code, c);
    rapidFire_.Show(Manager(), c);
    advanced_.ShowPointer(Manager(), PointerSettings::Instance().Get(),
                          Row().refreshAppliesPointer ? ui::Notify::Yes : ui::Notify::No);
    stages_.Show(Manager(), StageFields());
    advanced_.ShowReportRate(Manager(), c.reportRate);
    lighting_.Show(Manager(), Lighting());
    RefreshOwn();
    if (ledTabPending_) {
        ledTabPending_ = false;
        HandleClick(Manager().FindControl(names_("led_Settings")));
    }
}

template <class Record>
void FamilyEPage<Record>::OnDeviceChanged(int profile, int stage) {
    auto& c = config_;
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

template <class Record>
bool FamilyEPage<Record>::HandleClick(ui::Control* sender) {
    if (!sender) return false;
    auto& m = Manager();
    const PageLayout& layout = Row().layout;
    // Only the profiles the record holds lists for; a model with two never reaches a third.
    for (int p = 0; p < static_cast<int>(config_.keyLists.size()); ++p) {
        if (!sender->NameIs(names_("profile" + std::to_string(p + 1)))) continue;
        nav_.ShowPage(m, layout.keys);
        config_.currentProfile = p;
        LabelKeys();
        nav_.Reset(m);
        nav_.Select(m, "profile" + std::to_string(p + 1));
        RequestOperation(kOpProfile);
        return true;
    }
    enum { kMacros, kFireKeys, kAdvanced, kLighting };
    switch (ShowSection(nav_, m, names_, sender,
                        {{"marco_manager", layout.macros},
                         {"fire_macro_Settings", layout.fireKeys},
                         {"advanced_Settings", layout.advanced},
                         {"led_Settings", Variant().lightingPage}})) {
        case kMacros:
        case kAdvanced:
            return true;
        case kFireKeys:
            if (firePanel_) firePanel_->ShowGunIfNone();
            return true;
        case kLighting:
            LightingShown();
            return true;
        default:
            break;
    }
    if (HandleSharedClick(sender) || stages_.HandleClick(m, sender, StageFields())) return true;
    const size_t keys = config_.keyLists.empty() ? 0 : config_.keyLists[0].size();
    if (int number = KeyButtonNumber(names_, sender, keys)) {
        // Looked up again after the editor: a reconnection while it was open replaces the lists.
        KeySlot* slot = CurrentKey(config_, number);
        if (!slot || !EditKey(*slot) || !(slot = CurrentKey(config_, number))) return true;
        sender->SetText(assign::AssignmentLabel(config_, *slot));
        editedKeyIndex_ = slot->keyIndex;
        RequestOperation(kOpKey);
        return true;
    }
    return false;
}

template <class Record>
bool FamilyEPage<Record>::ShowMacroView(bool folder) {
    // A skin with both macro pages lets the user choose; the key editor follows the view shown.
    if (!ModelPage::ShowMacroView(folder)) return false;
    config_.macroUsesFolders = folder ? 1 : 0;
    return true;
}

template <class Record>
void FamilyEPage<Record>::HandleSetting(ui::Notification& n) {
    if (!HandleOwn(n) && !HandleSettings(n)) stages_.Handle(Manager(), n, StageFields());
}

template <class Record>
std::unique_ptr<PageWork> FamilyEPage<Record>::ReadDevice() {
    // Seeded with the live record: a group whose read fails keeps what the page held, as it would
    // if the library filled the live record in place. The lists a read rebuilds are emptied by it.
    auto fresh = std::make_shared<Record>(config_);
    const int keyCount = KeyCount(Manager(), names_);
    return std::make_unique<FunctionWork>([this, fresh, keyCount] { return ReadRecord(*fresh, keyCount); },
                                          [this, fresh](bool ok) {
                                              if (ok) Adopt(*fresh);
                                              SetConnected(ok);
                                          });
}

template <class Record>
bool FamilyEPage<Record>::ReadRecord(Record& c, int keyCount) {
    const ModelRow& row = Row();
    auto& binding = DeviceLibraryBinding::Instance();
    if (!Open(false, int32_t{c.fireMacroVisible})) return false;
    c.macros.Clear();
    if (row.imageRead == ImageRead::WithKind) {
        int32_t kind = 0;
        const bool read = binding.Call(row.readImage, &kind) == 0;
        if constexpr (requires { c.deviceKind; })
            if (read) c.deviceKind = kind;
    } else {
        binding.Call(row.readImage);
    }
    // What the record held for another variant is not this mouse's.
    const ModelVariant& variant = row.Variant(KindOf(c));
    const int profiles = std::min(variant.profiles, static_cast<int>(c.keyLists.size()));
    for (size_t p = static_cast<size_t>(profiles); p < c.keyLists.size(); ++p) c.keyLists[p].clear();
    // Individual reads may fail; the record keeps what each delivered.
    binding.ReadProfileIndex(c);
    binding.ReadMacros(c);
    binding.ReadFireSlots(c);
    for (int p = 0; p < profiles; ++p) binding.ReadMacroKeys(c, p, keyCount);
    c.fireMacros.clear();
    for (int i = 0; i < variant.fireMacros; ++i) binding.ReadFireMacro(c, i);
    const int heldCount = c.stageCount, heldStage = c.currentStage;
    binding.ReadStages(c);
    StageEditor::KeepEnabled(c.stageCount, c.currentStage, heldCount, heldStage);
    binding.ReadReportRate(c);
    binding.ReadLighting(c);
    ReadOwnFields(c);
    RegisterChangeCallback();
    return true;
}

template <class Record>
bool FamilyEPage<Record>::WriteRecord(const Record& c, int operation, int target) {
    auto& binding = DeviceLibraryBinding::Instance();
    const WriteGroup group = Row().WriteOf(operation);
    switch (group) {
        case WriteGroup::ProfileIndex:
            return binding.WriteProfileIndex(c);
        case WriteGroup::Stages:
            return binding.WriteStages(c);
        case WriteGroup::Key:
            return binding.WriteMacroKey(c, c.currentProfile, target);
        case WriteGroup::ReportRate:
            return binding.WriteReportRate(c);
        case WriteGroup::RapidFire:
            // The matching fire keys were written before, key by key.
            return binding.WriteFireSlot(c, operation - kOpRapidFire1);
        case WriteGroup::Lighting:
            return binding.WriteLighting(c);
        case WriteGroup::None:
            return true;
        // Profile files run as work of their own (ProfileFileWork).
        case WriteGroup::RestoreDefaults:
        case WriteGroup::SaveFile:
        case WriteGroup::LoadFile:
            return true;
        default:
            return WriteOwn(c, group, target);
    }
}

template <class Record>
void FamilyEPage<Record>::Adopt(const Record& fresh) {
    config_ = fresh;
    if (firePanel_) firePanel_->ResetSelection();  // the tab shows the fresh patterns when next opened
}

template <class Record>
bool FamilyEPage<Record>::HandleSettings(ui::Notification& n) {
    auto& m = Manager();
    auto& c = config_;
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

template <class Record>
std::unique_ptr<PageWork> FamilyEPage<Record>::RapidFireWork(int operation) {
    // The slot's boxes as they are now; the record's fire keys follow at once, the device on the worker.
    const int slot = operation - kOpRapidFire1;
    auto keys = RapidFireEditor::UpdateSlot(config_, slot, rapidFire_.Edited(Manager(), slot + 1));
    auto copy = std::make_shared<Record>(config_);
    return DeviceWrite(
        [this, copy, operation, keys] {
            auto& binding = DeviceLibraryBinding::Instance();
            bool ok = true;
            for (const auto& [profile, key] : keys) ok = binding.WriteMacroKey(*copy, profile, key) && ok;
            return WriteRecord(*copy, operation, 0) && ok;
        },
        std::to_string(operation));
}

template <class Record>
std::unique_ptr<PageWork> FamilyEPage<Record>::ProfileFileWork(int operation) {
    const ModelRow& row = Row();
    // A restore from elsewhere than its button still loads the button's file.
    if (row.WriteOf(operation) == WriteGroup::RestoreDefaults)
        for (const ResetButton& button : row.resetButtons)
            if (button.operation == operation) {
                filePath_ = ProfileFiles::DefaultFile(button.defaultFile);
                break;
            }
    const int32_t flag = config_.fireMacroVisible;
    auto fresh = std::make_shared<Record>(config_);
    const int keyCount = KeyCount(Manager(), names_);
    ProfileFileSteps steps{[this, flag] { return Open(false, flag); },
                           [this, fresh, keyCount] { return ReadRecord(*fresh, keyCount); },
                           [this, fresh](bool readOk) {
                               if (readOk) Adopt(*fresh);
                               SetConnected(readOk);
                           }};
    return mouse::ProfileFileWork(row, operation, filePath_, Owner(), std::move(steps));
}

template <class Record>
std::unique_ptr<PageWork> FamilyEPage<Record>::PrepareWrite(int operation) {
    const WriteGroup group = Row().WriteOf(operation);
    if (group == WriteGroup::RapidFire) return RapidFireWork(operation);
    if (group == WriteGroup::RestoreDefaults || group == WriteGroup::SaveFile ||
        group == WriteGroup::LoadFile) {
        if (Row().profileImage.imageSize) return ProfileFileWork(operation);
        return std::make_unique<FunctionWork>(nullptr, nullptr);
    }
    if (group == WriteGroup::UartLed) ledTabPending_ = true;
    PrepareOwnWrite(group);
    auto copy = std::make_shared<Record>(config_);
    int target = 0;
    std::string mergeKey = std::to_string(operation);
    if (group == WriteGroup::Key) {
        target = editedKeyIndex_;
        mergeKey += ":" + std::to_string(copy->currentProfile) + "/" + std::to_string(target);
    } else if (group == WriteGroup::UartLed) {
        target = uartLedIndex_;
        mergeKey += ":" + std::to_string(target);
    }
    return DeviceWrite([this, copy, operation, target] { return WriteRecord(*copy, operation, target); },
                       std::move(mergeKey));
}

template <class Record>
std::unique_ptr<PageWork> FamilyEPage<Record>::Reopen() {
    int32_t flag = config_.fireMacroVisible;
    return std::make_unique<FunctionWork>([this, flag] { return Open(false, flag); }, nullptr);
}

template <class Record>
void FamilyEPage<Record>::RegisterChangeCallback() {
    if (Row().setCallback == kNoEntryPoint) return;
    DeviceChangeCallback callback = &OnLibraryChange;
    DeviceLibraryBinding::Instance().Call(Row().setCallback, callback,
                                          const_cast<void*>(static_cast<const void*>(&Row().model)));
}

template class FamilyEPage<EgretConfig>;
template class FamilyEPage<IbisConfig>;
template class FamilyEPage<CraneConfig>;

}  // namespace mouse
