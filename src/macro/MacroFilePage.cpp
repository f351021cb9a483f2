#include "macro/MacroFilePage.h"

#include "macro/MacroStore.h"
#include "ui/controls/List.h"
#include "ui/controls/ListItem.h"

MacroFilePage::MacroFilePage(ui::WindowImplBase& owner, const MacroPageSpec& spec)
    : MacroManagerPage(owner, spec, spec.fileWords) {
    SetName("macro_file_page_" + std::string(spec.suffix));
}

MacroList& MacroFilePage::Macros() const {
    return MacroStore::Instance().List(Spec().model);
}

ui::List* MacroFilePage::MacroListControl() const {
    return FindOwn<ui::List>("Marco_Info_list");
}

void MacroFilePage::FillMacroList() {
    auto* list = MacroListControl();
    if (!list) return;
    list->RemoveAll();
    list->SelectItem(-1, ui::Notify::No);
    for (const auto& entry : Macros()) {
        auto element = std::make_unique<ui::ListLabelElement>();
        element->SetText(ToUtf8(entry->name));
        list->Add(std::move(element));
    }
}

MacroEntry* MacroFilePage::SelectedMacro() {
    auto* list = MacroListControl();
    const int index = list ? list->GetCurSel() : -1;
    MacroList& macros = Macros();
    return index >= 0 && static_cast<size_t>(index) < macros.size() ? &macros[static_cast<size_t>(index)]
                                                                    : nullptr;
}

void MacroFilePage::SaveSelectedMacro() {
    MacroStore::Instance().SaveMacroFile(Spec().model);
}

bool MacroFilePage::IsNameTaken(const std::u16string& name) const {
    for (const auto& entry : Macros())
        if (entry->name == name) return true;
    return false;
}

std::optional<std::u16string> MacroFilePage::AskName(int mode, const std::string& initial) {
    auto dialog = MakeDialog(mode);
    dialog->SetInitialValue(initial);
    if (!RunDialog(*dialog)) return std::nullopt;
    std::u16string name = ToUtf16(dialog->Value());
    // An empty name would be an empty slot in the file, and the macro would vanish on loading.
    if (name.empty() || IsNameTaken(name)) return std::nullopt;
    return name;
}

void MacroFilePage::NewMacro() {
    auto* list = MacroListControl();
    if (!list || !RoomFor(Macros(), 1, kFileFullText)) return;
    auto name = AskName(MarcoEditDialog::kNewName, "");
    if (!name) return;
    Macros().Add(MacroEntry{*name, {0x00}, 0});
    auto element = std::make_unique<ui::ListLabelElement>();
    element->SetText(ToUtf8(*name));
    list->Add(std::move(element));
    MacroStore::Instance().SaveMacroFile(Spec().model);
    list->SelectItem(list->GetCount() - 1, ui::Notify::Yes);
}

void MacroFilePage::Rename() {
    MacroEntry* macro = SelectedMacro();
    auto* list = MacroListControl();
    if (!macro || !list) return;
    const int index = list->GetCurSel();
    auto name = AskName(MarcoEditDialog::kRename, ToUtf8(macro->name));
    if (!name) return;
    macro->name = *name;
    if (auto* element = list->GetItemAt(index)) element->SetText(ToUtf8(*name));
    MacroStore::Instance().SaveMacroFile(Spec().model);
}

void MacroFilePage::DeleteSelected() {
    auto* list = MacroListControl();
    if (!SelectedMacro() || !list) return;
    const int index = list->GetCurSel();
    auto dialog = MakeDialog(MarcoEditDialog::kConfirm);
    if (!RunDialog(*dialog)) return;
    Macros().RemoveAt(static_cast<size_t>(index));
    list->RemoveAt(index);
    list->SelectItem(-1, ui::Notify::No);
    ClearSteps();
    MacroStore::Instance().SaveMacroFile(Spec().model);
}

void MacroFilePage::Export() {
    auto path = AskFile(true, std::string(Spec().suffix) + "-macros.bin");
    if (!path) return;
    MacroStore::Instance().SaveMacroFile(Spec().model, Macros(), *path, false);
}

void MacroFilePage::Import() {
    auto path = AskFile(false);
    if (!path) return;
    auto& store = MacroStore::Instance();
    if (!store.LoadMacroFile(Spec().model, *path, true)) return;
    FillMacroList();
    ClearSteps();
    store.SaveMacroFile(Spec().model);
}
