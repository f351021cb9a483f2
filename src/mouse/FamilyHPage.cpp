#include "mouse/FamilyHPage.h"

#include <algorithm>

#include "assign/AssignmentLabel.h"
#include "device/DeviceLibraryBinding.h"
#include "mouse/ColorPicker.h"
#include "mouse/MousePageParts.h"
#include "mouse/PointerSettings.h"
#include "mouse/ProfileFiles.h"
#include "mouse/RapidFireEditor.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"
#include "ui/layout/SkinPage.h"

namespace mouse {
namespace {

const std::vector<std::string> kNavigationButtons = {
    "profile1", "profile2", "marco_manager", "advanced_Settings", "led_Settings", "fire_macro_Settings"};

// The rapid-fire boxes take at most this; a shot count of 255 stored means continuous fire.
constexpr unsigned long long kMaxFireValue = 255;
constexpr int kContinuous = 255;
// What the count box shows while continuous fire is on.
constexpr const char* kContinuousCountText = "3";

// The press-type keys and the views of each ("pro1" and "pro2" are edited; "pro" is the name a
// refresh of the key labels sets); every view of a key shows the same state.
constexpr const char* kPressKeys[] = {"result_middle_key_switch", "result_cpi_key_switch",
                                      "result_gun_key_switch"};
constexpr const char* kPressViews[] = {"_pro", "_pro1", "_pro2"};

// The status line's and the message box's words for a write that did not reach the mouse.
constexpr const char* kWriteFailedStatus = "%{574}";
constexpr const char* kWriteFailedMessage = "%{573}";
constexpr const char* kWriteTip = "%{571}";
constexpr const char* kWritePendingTip = "%{572}";

}  // namespace

template <class Record>
FamilyHPage<Record>::FamilyHPage(ui::WindowImplBase& owner)
    : ModelPage(owner, RowOf(kModel), kNavigationButtons),
      stages_(names_, *this, kStageScheme),
      advanced_(names_) {}

template <class Record>
FamilyHPage<Record>::~FamilyHPage() = default;

template <class Record>
std::unique_ptr<ui::Control> FamilyHPage<Record>::CreateSubPage(std::string_view className) {
    bool folder = false;
    if (auto page = CreateMacroSubPage(className, folder)) return page;
    if (IsSubPage(className, Row().subPages.fireKeys, Row().suffix)) {
        if (auto panel = CreateFireKeyPanel()) return panel;
        return std::make_unique<ui::SkinPage>();
    }
    return nullptr;
}

template <class Record>
void FamilyHPage<Record>::InitPage() {
    InitSections();
    stages_.LoadLabels(Manager());
    ShowPending();
}

template <class Record>
bool FamilyHPage<Record>::ChooseColour(uint32_t& argb) {
    return ColorPicker::Ask(Owner(), argb);
}

template <class Record>
bool FamilyHPage<Record>::ShowMacroView(bool folder) {
    if (!ModelPage::ShowMacroView(folder)) return false;
    config_.macroUsesFolders = folder ? 1 : 0;
    return true;
}

template <class Record>
bool FamilyHPage<Record>::FireKeysOpen() {
    return Row().layout.fireKeys >= 0 && nav_.ShownPage(Manager()) == Row().layout.fireKeys;
}

template <class Record>
void FamilyHPage<Record>::Edited() {
    pending_.Edited();
    ShowPending();
}

template <class Record>
void FamilyHPage<Record>::ShowPending() {
    ShowWriteButton(names_("write_data"), pending_.IsPending(), kWriteTip, kWritePendingTip);
}

template <class Record>
void FamilyHPage<Record>::SetStages() {
    if (!DeviceLibraryBinding::Instance().WriteStages(config_)) LibraryBehind();
}

template <class Record>
void FamilyHPage<Record>::SetFire() {
    if (!DeviceLibraryBinding::Instance().WriteFire(config_)) LibraryBehind();
}

template <class Record>
void FamilyHPage<Record>::RequestStageWrite() {
    SetStages();
    Edited();
}

template <class Record>
bool FamilyHPage<Record>::SetEverything() {
    auto& binding = DeviceLibraryBinding::Instance();
    const auto& c = config_;
    return SetKeys() && binding.WriteProfileIndex(c) && binding.WriteStages(c) && binding.WriteFire(c) &&
           SetPressTypes() && SetOwnGroups() && binding.WriteCachedMacros(kModel);
}

template <class Record>
bool FamilyHPage<Record>::SetKeys() {
    // Each profile's keys as far as its list goes: a list a failed read left short is no refusal.
    for (int p = 0; p < 2; ++p)
        for (size_t k = 0; k < config_.keyLists[static_cast<size_t>(p)].size(); ++k)
            if (!DeviceLibraryBinding::Instance().WriteKey(config_, p, static_cast<int>(k))) return false;
    return true;
}

template <class Record>
void FamilyHPage<Record>::LabelKeys() {
    auto& c = config_;
    const size_t keys = c.keyLists[0].size();
    const auto& current = c.keyLists[static_cast<size_t>(std::clamp(c.currentProfile, 0, 1))];
    for (size_t i = 1; i <= keys && i <= current.size(); ++i) {
        auto* button = Manager().FindControl(names_.KeyButton(static_cast<int>(i)));
        if (!button) continue;
        const auto& code = current[i - 1].code;
        button->SetText(assign::AssignmentLabel(kModel, code[0], code[1], code[2]));
    }
    ShowPressTypes();
}

template <class Record>
void FamilyHPage<Record>::ShowPressTypes() {
    auto& m = Manager();
    const int values[] = {config_.middlePress, config_.cpiPress, config_.gunPress};
    for (size_t key = 0; key < std::size(kPressKeys); ++key)
        for (const char* view : kPressViews)
            if (auto* option = m.template Find<ui::Option>(names_(std::string(kPressKeys[key]) + view)))
                option->SetSelected(values[key] != 0, ui::Notify::No);
    // Each profile has its own view of the press types; the gun key has one on the second profile only.
    const bool second = config_.currentProfile == 1;
    for (const char* view : kPressViews)
        if (auto* gun = m.FindControl(names_(std::string(kPressKeys[2]) + view))) gun->SetVisible(second);
    for (int profile = 1; profile <= 2; ++profile)
        if (auto* row = m.FindControl(names_.Numbered("press_types_pro", profile, "")))
            row->SetVisible(config_.currentProfile == profile - 1);
}

template <class Record>
void FamilyHPage<Record>::ShowFire() {
    auto& m = Manager();
    const bool continuous = config_.fireCount == kContinuous;
    if (auto* count = m.template Find<ui::Edit>(names_("result_fire_count"))) {
        // Set without notifications: the boxes show the record, they do not edit it.
        count->SetText(continuous ? kContinuousCountText : std::to_string(config_.fireCount + 1),
                       ui::Notify::No);
        count->SetEnabled(!continuous);
    }
    if (auto* time = m.template Find<ui::Edit>(names_("result_fire_time")))
        time->SetText(std::to_string(config_.fireTime), ui::Notify::No);
    if (auto* box = m.template Find<ui::Option>(names_("result_fire_continue")))
        box->SetSelected(continuous, ui::Notify::No);
}

template <class Record>
void FamilyHPage<Record>::Refresh() {
    ShowPending();
    if (!ShowEnabled()) return;
    nav_.Reset(Manager());
    LabelKeys();
    SelectProfile(config_.currentProfile);
    ShowFire();
    advanced_.ShowPointer(Manager(), PointerSettings::Instance().Get(),
                          Row().refreshAppliesPointer ? ui::Notify::Yes : ui::Notify::No);
    stages_.Show(Manager(), StageFields());
    ShowLighting();
}

template <class Record>
bool FamilyHPage<Record>::HandleClick(ui::Control* sender) {
    if (!sender) return false;
    auto& m = Manager();
    auto& c = config_;
    const PageLayout& layout = Row().layout;
    for (int p = 0; p < 2; ++p) {
        if (!sender->NameIs(names_("profile" + std::to_string(p + 1)))) continue;
        nav_.ShowPage(m, layout.keys);
        const bool changed = c.currentProfile != p;
        c.currentProfile = p;
        LabelKeys();
        nav_.Reset(m);
        nav_.Select(m, "profile" + std::to_string(p + 1));
        if (!changed) return true;
        if (!DeviceLibraryBinding::Instance().WriteProfileIndex(c)) LibraryBehind();
        Edited();
        return true;
    }
    constexpr int kFireSection = 1;
    if (const int section = ShowSection(nav_, m, names_, sender,
                                        {{"marco_manager", layout.macros},
                                         {"fire_macro_Settings", layout.fireKeys},
                                         {"advanced_Settings", layout.advanced},
                                         {"led_Settings", Row().Variant(0).lightingPage}});
        section >= 0) {
        if (section == kFireSection) FireKeysShown();
        return true;
    }
    if (sender->NameIs(names_("write_data"))) {
        RequestOperation(kOpWriteMouse);
        return true;
    }
    if (HandleSharedClick(sender) || stages_.HandleClick(m, sender, StageFields())) return true;
    if (int number = KeyButtonNumber(names_, sender, c.keyLists[0].size())) {
        // Looked up again after the editor: a reconnection while it was open replaces the lists.
        KeySlot* slot = CurrentKey(c, number);
        if (!slot) return true;
        const bool changed = ReplacedKeyEditor() ? ReplacedKeyEditor()(Owner(), c, *slot) : EditKey(*slot);
        if (!changed || !CurrentKey(c, number)) return true;
        // A new macro may have moved other keys to their macros' new ids: every key is shown and
        // set again.
        LabelKeys();
        if (!SetKeys()) LibraryBehind();
        Edited();
        return true;
    }
    return false;
}

template <class Record>
bool FamilyHPage<Record>::HandleFire(ui::Notification& n) {
    auto& m = Manager();
    auto& c = config_;
    const bool count = n.sender->NameIs(names_("result_fire_count"));
    if ((n.type == "textchanged" || n.type == "killfocus") &&
        (count || n.sender->NameIs(names_("result_fire_time")))) {
        auto* edit = dynamic_cast<ui::Edit*>(n.sender);
        if (!edit) return true;
        const unsigned long long value = RapidFireEditor::BoxValue(edit->GetText());
        if (n.type == "killfocus") {
            // A count box left without a shot count shows the stored one again.
            if (count && value < 1 && c.fireCount != kContinuous)
                edit->SetText(std::to_string(c.fireCount + 1), ui::Notify::No);
            return true;
        }
        if (value > kMaxFireValue) {
            edit->SetText(std::to_string(kMaxFireValue), ui::Notify::Yes);  // which changes it again
            return true;
        }
        // No shot count yet (an empty box while typing, or 0): nothing is stored.
        if (count && value < 1) return true;
        // While continuous fire is on, the count box only remembers what to go back to.
        if (count && c.fireCount == kContinuous) return true;
        (count ? c.fireCount : c.fireTime) = static_cast<int>(count ? value - 1 : value);
        SetFire();
        Edited();
        return true;
    }
    if (n.type == "selectchanged" && n.sender->NameIs(names_("result_fire_continue"))) {
        auto* box = dynamic_cast<ui::Option*>(n.sender);
        const bool continuous = box && box->IsSelected();
        auto* edit = m.template Find<ui::Edit>(names_("result_fire_count"));
        if (continuous) {
            c.fireCount = kContinuous;
        } else {
            const unsigned long long typed = edit ? RapidFireEditor::BoxValue(edit->GetText()) : 1;
            c.fireCount = static_cast<int>(std::clamp<unsigned long long>(typed, 1, kMaxFireValue) - 1);
        }
        if (edit) edit->SetEnabled(!continuous);
        SetFire();
        Edited();
        return true;
    }
    return false;
}

template <class Record>
bool FamilyHPage<Record>::HandlePressType(ui::Notification& n) {
    if (n.type != "selectchanged") return false;
    int* fields[] = {&config_.middlePress, &config_.cpiPress, &config_.gunPress};
    for (size_t key = 0; key < std::size(kPressKeys); ++key) {
        for (const char* view : kPressViews) {
            if (!n.sender->NameIs(names_(std::string(kPressKeys[key]) + view))) continue;
            auto* option = dynamic_cast<ui::Option*>(n.sender);
            const bool selected = option && option->IsSelected();
            // The other views follow, each reporting its own change.
            for (const char* other : kPressViews)
                if (auto* twin =
                        Manager().template Find<ui::Option>(names_(std::string(kPressKeys[key]) + other));
                    twin && twin != option)
                    twin->SetSelected(selected, ui::Notify::Yes);
            const int value = selected ? 1 : 0;
            if (*fields[key] == value) return true;
            *fields[key] = value;
            if (!SetPressTypes()) LibraryBehind();
            Edited();
            return true;
        }
    }
    return false;
}

template <class Record>
void FamilyHPage<Record>::HandleSetting(ui::Notification& n) {
    auto& m = Manager();
    if (!HandleFire(n) && !HandlePressType(n) && !HandleLighting(n) && !advanced_.HandlePointer(m, n))
        stages_.Handle(m, n, StageFields());
}

template <class Record>
std::function<bool()> FamilyHPage<Record>::Opener() const {
    return [this, block = OpenBlock()] { return Open(false, 0, block); };
}

template <class Record>
bool FamilyHPage<Record>::ReadRecord(Record& c, int keyCount, const std::function<bool()>& open,
                                     bool* opened) {
    auto& binding = DeviceLibraryBinding::Instance();
    if (!open()) return false;
    if (opened) *opened = true;
    // The library's image becomes the mouse's; without it the page would show stale values.
    if (binding.Call(Row().readImage) != 0) return false;
    for (int p = 0; p < 2; ++p) binding.ReadKeys(c, p, keyCount);
    ReadAfterKeys(c);
    binding.ReadFire(c);
    const int heldCount = c.stageCount, heldStage = c.currentStage;
    binding.ReadStages(c);
    StageEditor::KeepEnabled(kStageScheme, c.stageCount, c.currentStage, heldCount, heldStage);
    ReadAfterStages(c);
    binding.ReadProfileIndex(c);
    return true;
}

template <class Record>
void FamilyHPage<Record>::Adopt(const Record& fresh, bool replaceEdits) {
    if (pending_.IsPending() && !replaceEdits) {
        // The read gave the library the mouse's image; the edits stay on the page, pending, and go
        // back into the image, so that the next write still sends them (with the macros the key
        // editor laid out, which the cache still holds).
        libraryBehind_ = !SetEverything();
        ReadTaken();
        return;
    }
    config_ = fresh;
    libraryBehind_ = false;
    pending_.Clear();
    // The cache stands for the device's macro memory: after the read it is fetched anew as needed.
    if (auto* cache = DeviceLibraryBinding::Instance().MacroCache(kModel)) cache->Clear();
    ShowPending();
    ReadTaken();
}

template <class Record>
std::unique_ptr<PageWork> FamilyHPage<Record>::ReadWork(bool replaceEdits) {
    // Seeded with the live record: a group whose read fails keeps what the page held.
    auto fresh = std::make_shared<Record>(config_);
    auto opened = std::make_shared<bool>(false);
    const int keyCount = KeyCount(Manager(), names_);
    return std::make_unique<FunctionWork>(
        [this, fresh, opened, keyCount, open = Opener()] {
            return ReadRecord(*fresh, keyCount, open, opened.get());
        },
        [this, fresh, opened, replaceEdits](bool ok) {
            if (ok) Adopt(*fresh, replaceEdits);
            // A failure after the mouse opened leaves the connection as it was.
            SetConnected(ok ? true : *opened ? connected_ : false);
        });
}

template <class Record>
std::unique_ptr<PageWork> FamilyHPage<Record>::ReadDevice() {
    return ReadWork(false);
}

template <class Record>
std::unique_ptr<PageWork> FamilyHPage<Record>::Reopen() {
    return std::make_unique<FunctionWork>(Opener(), nullptr);
}

template <class Record>
std::unique_ptr<PageWork> FamilyHPage<Record>::MouseWriteWork() {
    // A Set call the library refused earlier: the image gets the whole record before it is sent.
    if (libraryBehind_) libraryBehind_ = !SetEverything();
    const bool complete = !libraryBehind_;
    auto copy = std::make_shared<const Record>(config_);
    const uint64_t generation = pending_.Generation();
    auto work = std::make_unique<FunctionWork>(
        [this, copy, complete, open = Opener()] {
            if (!complete || !open()) return false;
            const bool ok = BeforeMouseWrite(*copy) && DeviceLibraryBinding::Instance().WriteDevice(kModel);
            AfterMouseWrite(*copy, ok);
            return ok;
        },
        nullptr,
        [this](bool ok) -> std::unique_ptr<PageWork> {
            // Read again to learn whether the mouse is still there; the edits stay pending.
            if (ok) return nullptr;
            auto read = ReadWork(false);
            read->SetMergeKey("read");
            return read;
        });
    work->SetFinish([this, generation, self = work.get()](bool ok) {
        if (ok) pending_.Written(generation);
        ShowPending();
        if (ok) return;
        self->SetFailureText(kWriteFailedStatus);
        ProfileFiles::Show(&Owner(), kWriteFailedMessage);
    });
    work->SetMergeKey(std::to_string(kOpWriteMouse));
    work->SetReport(WorkReport::Write);
    return work;
}

template <class Record>
std::unique_ptr<PageWork> FamilyHPage<Record>::FileWork(int operation) {
    std::string path = filePath_;
    // A restore loads its button's default file, wherever the request came from.
    if (Row().WriteOf(operation) == WriteGroup::RestoreDefaults)
        for (const ResetButton& reset : Row().resetButtons)
            if (reset.operation == operation) path = ProfileFiles::DefaultFile(reset.defaultFile);
    auto fresh = std::make_shared<Record>(config_);
    const int keyCount = KeyCount(Manager(), names_);
    // A save loads back what the mouse held, so the edits not written yet stay pending; a load or a
    // restore replaces them.
    const bool replaceEdits = Row().WriteOf(operation) != WriteGroup::SaveFile;
    auto open = Opener();
    ProfileFileSteps steps{
        open, [this, fresh, keyCount, open] { return ReadRecord(*fresh, keyCount, open, nullptr); },
        [this, fresh, replaceEdits](bool readOk) {
            if (readOk) Adopt(*fresh, replaceEdits);
            SetConnected(readOk);
        }};
    return ProfileFileWork(Row(), operation, path, Owner(), std::move(steps));
}

template <class Record>
std::unique_ptr<PageWork> FamilyHPage<Record>::OwnWork(int operation) {
    const WriteGroup group = Row().WriteOf(operation);
    auto copy = std::make_shared<const Record>(config_);
    return DeviceWrite([this, copy, group, open = Opener()] { return open() && WriteOwn(*copy, group); },
                       std::to_string(operation));
}

template <class Record>
std::unique_ptr<PageWork> FamilyHPage<Record>::PrepareWrite(int operation) {
    const WriteGroup group = Row().WriteOf(operation);
    if (group == WriteGroup::None) return std::make_unique<FunctionWork>(nullptr, nullptr);
    if (group == WriteGroup::LibraryImage) return MouseWriteWork();
    if (IsProfileFileOperation(Row(), operation)) return FileWork(operation);
    return OwnWork(operation);
}

template class FamilyHPage<HeronConfig>;
template class FamilyHPage<HeronDriverConfig>;

}  // namespace mouse
