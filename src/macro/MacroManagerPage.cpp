#include "macro/MacroManagerPage.h"

#include <algorithm>

#include "assign/KeyCodes.h"
#include "assign/Utf16.h"
#include "macro/MacroCodec.h"
#include "macro/MacroEncoding.h"
#include "macro/MacroStore.h"
#include "macro/MarcoListUI.h"
#include "macro/StepText.h"
#include "platform/Trace.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"
#include "ui/core/Container.h"
#include "ui/core/FileDialog.h"
#include "ui/core/MessageBoxHook.h"
#include "ui/text/TextTable.h"

namespace {

StepNames NamesFor(ModifierWords words) {
    StepNames names;
    switch (words) {
        case ModifierWords::FilePage:
            names = StepNames::FilePage();
            break;
        case ModifierWords::FolderPage:
            names = StepNames::FolderPage();
            break;
        case ModifierWords::Language:
            // The language's words, resolved when the rows are drawn.
            names.modifierNames = {
                {0x01, "%{015}"}, {0x02, "%{017}"}, {0x04, "%{016}"}, {0x08, "%{195}"}, {0x80, "%{196}"}};
            break;
    }
    names.keyName = [](int code) { return assign::KeyName(static_cast<unsigned>(code)); };
    return names;
}

ui::Control* FindBelow(ui::Control* root, std::string_view name) {
    if (!root) return nullptr;
    if (root->NameIs(name)) return root;
    if (auto* container = dynamic_cast<ui::Container*>(root))
        for (int i = 0; i < container->GetCount(); ++i)
            if (auto* found = FindBelow(container->GetItemAt(i), name)) return found;
    return nullptr;
}

// Several macro pages may share one window; their option groups must not join across pages.
void KeepGroupsLocal(ui::Control* root, const std::string& page) {
    if (auto* option = dynamic_cast<ui::Option*>(root); option && !option->GetGroup().empty())
        option->SetGroup(page + "/" + option->GetGroup());
    if (auto* container = dynamic_cast<ui::Container*>(root))
        for (int i = 0; i < container->GetCount(); ++i) KeepGroupsLocal(container->GetItemAt(i), page);
}

constexpr const char* kRecordUp = "Image/recbtn_nr.png";
constexpr const char* kRecordDown = "Image/recbtn_dn.png";

}  // namespace

MacroManagerPage::MacroManagerPage(ui::WindowImplBase& owner, const MacroPageSpec& spec, ModifierWords words)
    : owner_(owner), spec_(spec), names_(NamesFor(words)) {
    if (auto implied = ModeWithoutLoopEntry(spec.model)) loop_.mode = *implied;
}

MacroManagerPage::~MacroManagerPage() {
    // The menu points at this page's lists.
    menu_.reset();
}

std::string MacroManagerPage::ToUtf8(std::u16string_view text) {
    return assign::Utf8FromUtf16(text);
}

std::u16string MacroManagerPage::ToUtf16(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        uint32_t c = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) < text.size() + (extra == 0 ? 1 : 0);
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (next & 0x3F);
        }
        if (!ok) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

ui::Control* MacroManagerPage::FindOwn(std::string_view base) const {
    return FindBelow(const_cast<MacroManagerPage*>(this), Name(base));
}

bool MacroManagerPage::Owns(const ui::Control* control) const {
    for (const ui::Control* c = control; c; c = c->GetParent())
        if (c == this) return true;
    return false;
}

MarcoListUI* MacroManagerPage::StepList() {
    return FindOwn<MarcoListUI>("Marco_Content_list");
}

void MacroManagerPage::DoInit() {
    if (initialised_) return;
    initialised_ = true;
    LoadSkin(owner_.GetManager(), SkinFile(), [this](std::string_view cls) -> std::unique_ptr<ui::Control> {
        if (ui::EqualsNoCase(cls, "MarcoList")) return std::make_unique<MarcoListUI>();
        return CreatePageControl(cls);
    });
    KeepGroupsLocal(this, GetName());
    listener_ = owner_.GetManager().AddNotifier([this](ui::Notification& n) { OnNotify(n); });
    recorder_ = std::make_unique<MacroRecorder>(spec_, static_cast<MacroRecorder::Host&>(*this));
    FillMacroList();
    ShowLoop();
    if (auto* field = FindOwn<ui::Edit>("delay_edit")) field->SetEnabled(false);
}

void MacroManagerPage::Reload() {
    if (!initialised_ || recorder_->IsRecording()) return;
    ClearSteps();
    FillMacroList();
}

int MacroManagerPage::FieldNumber(std::string_view base) const {
    auto* field = FindOwn(base);
    return field ? static_cast<int>(MarcoEditDialog::ReadNumber(field->GetText())) : 0;
}

LoopSettings MacroManagerPage::Loop() {
    LoopSettings loop = loop_;
    loop.count = std::clamp(FieldNumber("circle_edit"), 1, spec_.countMax);
    return loop;
}

int MacroManagerPage::FixedDelay() {
    return std::clamp(FieldNumber("delay_edit"), 0, spec_.delayFieldMax);
}

std::vector<MacroStep> MacroManagerPage::Steps() {
    std::vector<MacroStep> steps;
    if (auto* list = StepList())
        for (int i = 0; i < list->RowCount(); ++i)
            if (auto* row = list->RowAt(i)) steps.push_back({row->tag, row->value, row->text});
    return steps;
}

void MacroManagerPage::ClearSteps() {
    if (auto* list = StepList()) list->RemoveAllRows();
}

void MacroManagerPage::ShowMacro() {
    ClearSteps();
    MacroEntry* macro = SelectedMacro();
    auto* list = StepList();
    if (!macro || !list) return;
    DecodedMacro decoded = DecodeMacro(spec_.model, macro->data, names_, loop_);
    for (const auto& step : decoded.steps) {
        if (auto* row = list->AddRow(step.text)) {
            row->tag = step.tag;
            row->value = step.value;
        }
    }
    // Without a loop entry the page keeps its mode, unless the encoding says what none means: then a
    // macro must not show, and be saved with, the previous macro's mode.
    if (decoded.loopSettled) loop_ = decoded.loop;
    // The end mode is the first byte of every macro that has one, loop entry or not.
    if (decoded.endSettled) loop_.end = decoded.loop.end;
    if (decoded.loopSettled || decoded.endSettled) ShowLoop();
}

void MacroManagerPage::ShowLoop() {
    for (const auto& option : spec_.loopOptions)
        if (auto* o = FindOwn<ui::Option>(option.control))
            o->SetSelected(option.mode == loop_.mode, ui::Notify::No);
    for (const auto& option : spec_.endOptions)
        if (auto* o = FindOwn<ui::Option>(option.control))
            o->SetSelected(option.mode == loop_.end, ui::Notify::No);
    if (auto* count = FindOwn<ui::Edit>("circle_edit")) {
        if (loop_.mode == LoopMode::Count)
            count->SetText(std::to_string(std::clamp(loop_.count, 1, spec_.countMax)), ui::Notify::No);
        count->SetEnabled(loop_.mode == LoopMode::Count);
    }
}

void MacroManagerPage::Changed() {
    MacroEntry* macro = SelectedMacro();
    if (!macro) return;
    const std::vector<MacroStep> steps = Steps();
    macro->data = EncodeMacro(spec_.model, steps, Loop());
    const MacroEncoding encoding = EncodingOf(spec_.model);
    if ((encoding == MacroEncoding::Terminated || encoding == MacroEncoding::TerminatedStop) &&
        (macro->data.empty() || macro->data.back() != 0))
        macro->data.push_back(0);
    SaveSelectedMacro();
    // The list shows what the file holds: steps the encoder left out or changed (no room, a value
    // its bytes cannot hold) are shown as they were written.
    const auto written = DecodeMacro(spec_.model, macro->data, names_, loop_).steps;
    const bool same = std::equal(
        written.begin(), written.end(), steps.begin(), steps.end(),
        [](const MacroStep& a, const MacroStep& b) { return a.tag == b.tag && a.value == b.value; });
    if (!same) ShowMacro();
}

std::unique_ptr<MarcoEditDialog> MacroManagerPage::MakeDialog(int mode) const {
    return std::make_unique<MarcoEditDialog>(spec_.edit, mode);
}

bool MacroManagerPage::RunDialog(MarcoEditDialog& dialog) {
    auto* container = FindOwn("marco_edit_container");
    if (container) container->SetEnabled(false);
    bool ok = dialog.Run(owner_);
    if (container) container->SetEnabled(true);
    return ok;
}

void MacroManagerPage::ShowMessage(const std::string& reference) const {
    ui::ShowMessageBox(&owner_, ui::TextTable::Instance().Resolve(reference));
}

bool MacroManagerPage::RoomFor(const MacroList& list, size_t more, const char* refusal) const {
    if (MacroStore::HasRoomFor(spec_.model, list.size() + more)) return true;
    ShowMessage(refusal);
    return false;
}

std::optional<std::string> MacroManagerPage::AskFile(bool save, const std::string& suggestedName) const {
    auto& texts = ui::TextTable::Instance();
    ui::FileDialogRequest request;
    request.save = save;
    request.title = texts.Resolve(save ? kExportTitle : kImportTitle);
    request.filterName = texts.Resolve(kFilterName);
    if (save) request.initialName = suggestedName;
    request.filterPattern = "*.bin";
    request.defaultExtension = "bin";
    request.overwritePrompt = true;
    request.mustExist = !save;
    return ui::ShowFileDialog(&owner_, request);
}

void MacroManagerPage::OnNotify(ui::Notification& n) {
    if (!n.sender || !Owns(n.sender)) return;
    platform::Trace(n.sender->GetName() + "-" + n.type + ";");
    if (OnOwnNotify(n)) return;
    ui::Control* s = n.sender;
    const bool macroList = s->NameIs(Name("Marco_Info_list"));
    const bool stepList = s->NameIs(Name("Marco_Content_list"));
    const std::string& t = n.type;
    if (t == "click") {
        HandleClick(s);
    } else if (t == "menu" && (macroList || stepList)) {
        if (!recorder_->IsRecording()) OpenMenu(n);
    } else if (t == "itemselect" && macroList) {
        OnMacroListSelect();
    } else if (t == "itemselect" && s->NameIs(Name("macro_insert_combo"))) {
        if (n.wParam >= 0) owner_.GetManager().SendNotify(s, "inset_content_data", n.wParam, 0, true);
    } else if (t == "inset_content_data") {
        InsertFromCombo();
    } else if (t == "Button_Mouse_Focus" && s->NameIs(Name("recordButton"))) {
        recorder_->SetPointerOverButton(true);
    } else if (t == "Button_Mouse_Lose_Focus" && s->NameIs(Name("recordButton"))) {
        recorder_->SetPointerOverButton(false);
    } else if (t == "textchanged" && s->NameIs(Name("delay_edit"))) {
        KeepDelayField();
    } else if (t == "textchanged" && s->NameIs(Name("circle_edit"))) {
        KeepCountField();
    } else if (macroList || stepList) {
        if (t == "menu_Name_New")
            NewMacro();
        else if (t == "menu_Name_New_File")
            NewFile();
        else if (t == "menu_Name_ChangeName")
            Rename();
        else if (t == "menu_Name_Delete")
            DeleteSelected();
        else if (t == "menu_Name_Export")
            Export();
        else if (t == "menu_Name_Import")
            Import();
        else if (t == "menu_Content_Edit")
            EditStep();
        else if (t == "menu_Content_Delete")
            DeleteStep();
    }
}

void MacroManagerPage::HandleClick(ui::Control* s) {
    if (s->NameIs(Name("recordButton"))) {
        if (recorder_->IsRecording())
            StopRecording();
        else
            StartRecording();
        return;
    }
    const struct {
        const char* control;
        DelayMode mode;
    } delays[] = {{"delay_record", DelayMode::Record},
                  {"delay_setting", DelayMode::Fixed},
                  {"delay_no", DelayMode::None}};
    for (const auto& d : delays) {
        if (!s->NameIs(Name(d.control))) continue;
        recorder_->SetDelayMode(d.mode);
        if (auto* field = FindOwn("delay_edit")) field->SetEnabled(d.mode == DelayMode::Fixed);
        return;
    }
    for (const auto& option : spec_.loopOptions) {
        if (!s->NameIs(Name(option.control))) continue;
        // Takes effect with the macro's next change.
        loop_.mode = option.mode;
        if (auto* count = FindOwn("circle_edit")) count->SetEnabled(option.mode == LoopMode::Count);
        return;
    }
    for (const auto& option : spec_.endOptions) {
        if (!s->NameIs(Name(option.control))) continue;
        // Like the loop options, written with the macro's next change.
        loop_.end = option.mode;
        return;
    }
    if (s->NameIs(Name("AddMarcoButton")))
        NewMacro();
    else if (s->NameIs(Name("DeleteMarcoButton")))
        DeleteSelected();
}

void MacroManagerPage::SetRecordButton(bool recording) {
    auto* button = FindOwn("recordButton");
    if (!button) return;
    std::string image = recording ? kRecordDown : kRecordUp;
    for (ui::ImageSlot slot : {ui::ImageSlot::Normal, ui::ImageSlot::Hot, ui::ImageSlot::Pushed})
        button->SetImage(slot, image);
    button->SetText(recording ? "%{043}" : "%{042}");
}

void MacroManagerPage::SetEditingEnabled(bool enabled) {
    // The macro list too: choosing another macro mid-recording would save the steps into it.
    for (const char* base : {"macro_edit_layout", "AddMarcoButton", "DeleteMarcoButton", "Marco_Info_list"})
        if (auto* c = FindOwn(base)) c->SetEnabled(enabled);
}

void MacroManagerPage::StartRecording() {
    if (!SelectedMacro()) return;
    SetRecordButton(true);
    ClearSteps();
    SetEditingEnabled(false);
    recorder_->Start();
    if (auto* list = StepList()) owner_.GetManager().SetFocus(list);
}

void MacroManagerPage::StopRecording() {
    SetRecordButton(false);
    bool removed = recorder_->Stop();
    Changed();
    if (removed) ShowMacro();
    SetEditingEnabled(true);
}

void MacroManagerPage::OpenMenu(const ui::Notification& n) {
    menu_.reset();
    ui::Rect window = owner_.GetWindowRect();
    menu_ = std::make_unique<CMenuWnd>();
    if (!menu_->Init(n.sender, {window.left + n.pointer.x, window.top + n.pointer.y}, HiddenMenuItems()))
        menu_.reset();
}

void MacroManagerPage::KeepDelayField() {
    auto* field = FindOwn<ui::Edit>("delay_edit");
    if (!field) return;
    if (MarcoEditDialog::ReadNumber(field->GetText()) > spec_.delayFieldMax)
        field->SetText(std::to_string(spec_.delayFieldMax), ui::Notify::No);
}

void MacroManagerPage::KeepCountField() {
    auto* field = FindOwn<ui::Edit>("circle_edit");
    if (!field) return;
    std::string kept = MarcoEditDialog::KeepInRange(field->GetText(), 1, spec_.countMax);
    if (kept != field->GetText()) field->SetText(kept, ui::Notify::No);
}

void MacroManagerPage::InsertRows(const std::vector<MacroStep>& steps, int at) {
    auto* list = StepList();
    if (!list) return;
    for (const auto& step : steps) {
        if (auto* row = list->InsertRow(step.text, at)) {
            row->tag = step.tag;
            row->value = step.value;
            ++at;
        }
    }
}

void MacroManagerPage::InsertFromCombo() {
    auto* combo = FindOwn<ui::Combo>("macro_insert_combo");
    auto* list = StepList();
    if (!combo || !list) return;
    const int choice = combo->GetCurSel();
    combo->SelectItem(-1, ui::Notify::No);
    std::vector<MacroStep> current = Steps();
    if (!SelectedMacro() || !FitsInMacro(spec_.model, current, Loop(), spec_.insertSpace)) return;

    std::vector<MacroStep> added;
    auto step = [&](int tag, int value) { added.push_back(MakeStep(spec_.model, tag, value, names_)); };
    switch (choice) {
        case 0:
        case 1: {
            auto dialog = MakeDialog(MarcoEditDialog::kKey);
            if (!RunDialog(*dialog) || dialog->Number() == 0) return;
            step(choice == 0 ? spec_.keyPressTag : spec_.keyReleaseTag, dialog->Number());
            break;
        }
        case 2: {
            auto dialog = MakeDialog(MarcoEditDialog::kDelay);
            if (!RunDialog(*dialog)) return;
            step(FirstOpcodeOf(EncodingFor(spec_.model), OpKind::Delay)->tag,
                 std::clamp(dialog->Number(), 0, spec_.edit.delayMax));
            break;
        }
        case 3:
        case 4:
        case 5: {
            const size_t button = static_cast<size_t>(choice - 3);
            const ButtonTags& tags = spec_.buttons[button];
            step(tags.press, spec_.PressValue(button));
            step(FirstOpcodeOf(EncodingFor(spec_.model), OpKind::Delay)->tag, spec_.clickDelayMs);
            step(tags.release, spec_.ReleaseValue(button));
            break;
        }
        case 6: {
            auto dialog = MakeDialog(MarcoEditDialog::kMove);
            if (!RunDialog(*dialog)) return;
            auto axis = [](const std::string& text) {
                return static_cast<int>(std::clamp<long long>(
                    MarcoEditDialog::ReadNumber(text), MarcoEditDialog::kMoveMin, MarcoEditDialog::kMoveMax));
            };
            if (spec_.moveRows) {
                added.push_back(
                    MakeStep(spec_.model, spec_.moveTag, axis(dialog->Value()), names_, MoveAxis::X));
                added.push_back(
                    MakeStep(spec_.model, spec_.moveYTag, axis(dialog->Value2()), names_, MoveAxis::Y));
            } else {
                step(spec_.moveTag, PackMove(axis(dialog->Value()), axis(dialog->Value2())));
            }
            break;
        }
        default:
            return;
    }
    // Everything inserted must be encoded, or the list would show steps the file lacks.
    std::vector<MacroStep> after = current;
    after.insert(after.end(), added.begin(), added.end());
    if (!FitsInMacro(spec_.model, after, Loop(), 0)) return;
    const int at = list->GetCurSel() >= 0 ? list->GetCurSel() + 1 : list->RowCount();
    InsertRows(added, at);
    Changed();
}

void MacroManagerPage::EditStep() {
    auto* list = StepList();
    const int index = list ? list->GetCurSel() : -1;
    MarcoListUI::Row* row = list ? list->RowAt(index) : nullptr;
    if (!SelectedMacro() || !row) return;
    const int tag = row->tag;
    const Opcode* op = FindOpcode(EncodingFor(spec_.model), static_cast<uint8_t>(tag));
    if (!op) return;
    std::unique_ptr<MarcoEditDialog> dialog;
    switch (op->kind) {
        case OpKind::Delay:
            dialog = MakeDialog(MarcoEditDialog::kDelay);
            dialog->SetInitialValue(std::to_string(row->value));
            break;
        case OpKind::KeyPress:
        case OpKind::KeyRelease:
            dialog = MakeDialog(MarcoEditDialog::kKey);
            break;
        case OpKind::MoveXY:
            dialog = MakeDialog(MarcoEditDialog::kMove);
            break;
        case OpKind::MoveX:
        case OpKind::MoveY:
            // One axis each: the dialog shows only that axis's field, holding the step's value.
            dialog =
                MakeDialog(op->kind == OpKind::MoveX ? MarcoEditDialog::kMoveX : MarcoEditDialog::kMoveY);
            dialog->SetInitialValue(std::to_string(row->value));
            break;
        default:
            return;  // modifiers, buttons and the keyboard's movement rows are not editable
    }
    if (!RunDialog(*dialog)) return;
    int value = dialog->Number();
    if (op->kind == OpKind::KeyPress || op->kind == OpKind::KeyRelease) {
        if (value == 0) return;
    } else if (op->kind == OpKind::Delay) {
        value = std::clamp(value, 0, spec_.edit.delayMax);
    } else if (op->kind == OpKind::MoveX || op->kind == OpKind::MoveY) {
        value = std::clamp(value, MarcoEditDialog::kMoveMin, MarcoEditDialog::kMoveMax);
    } else {
        auto axis = [](const std::string& text) {
            return static_cast<int>(std::clamp<long long>(
                MarcoEditDialog::ReadNumber(text), MarcoEditDialog::kMoveMin, MarcoEditDialog::kMoveMax));
        };
        value = PackMove(axis(dialog->Value()), axis(dialog->Value2()));
    }
    InsertRows({MakeStep(spec_.model, tag, value, names_)}, index + 1);
    list->RemoveRow(index);
    list->SelectItem(index, ui::Notify::No);
    Changed();
}

void MacroManagerPage::DeleteStep() {
    auto* list = StepList();
    const int index = list ? list->GetCurSel() : -1;
    if (!SelectedMacro() || !list || !list->RowAt(index)) return;
    auto dialog = MakeDialog(MarcoEditDialog::kConfirm);
    if (!RunDialog(*dialog)) return;
    list->RemoveRow(index);
    Changed();
}
