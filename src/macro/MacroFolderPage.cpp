#include "macro/MacroFolderPage.h"

#include <algorithm>

#include "macro/MacroStore.h"
#include "platform/Paths.h"
#include "ui/controls/TreeView.h"
#include "ui/core/PaintManager.h"

namespace {

constexpr const char* kFileStyle = "filename_folder_style";
constexpr const char* kMacroStyle = "macroname_folder_style";
constexpr std::string_view kBin = ".bin";

bool EndsWithBin(std::string_view name) {
    if (name.size() < kBin.size()) return false;
    std::string_view tail = name.substr(name.size() - kBin.size());
    return std::equal(tail.begin(), tail.end(), kBin.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

std::string WithoutBin(const std::string& key) {
    return EndsWithBin(key) ? key.substr(0, key.size() - kBin.size()) : key;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

MacroFolderPage::MacroFolderPage(ui::WindowImplBase& owner, const MacroPageSpec& spec)
    : MacroManagerPage(owner, spec, spec.folderWords) {
    SetName("macro_folder_page_" + std::string(spec.suffix));
}

MacroFileSet& MacroFolderPage::Files() const {
    return MacroStore::Instance().FileSet(Spec().model);
}

ui::TreeView* MacroFolderPage::Tree() const {
    return FindOwn<ui::TreeView>("Marco_Info_list");
}

ui::TreeNode* MacroFolderPage::FileNodeOf(ui::TreeNode* node) const {
    return node && node->GetParentNode() ? node->GetParentNode() : node;
}

std::optional<std::string> MacroFolderPage::SelectedFileKey() const {
    auto* tree = Tree();
    ui::TreeNode* file = tree ? FileNodeOf(tree->GetSelectedNode()) : nullptr;
    if (!file || !Files().count(file->GetUserData())) return std::nullopt;
    return file->GetUserData();
}

ui::TreeNode* MacroFolderPage::AddFileNode(const std::string& key) {
    auto node = std::make_unique<ui::TreeNode>();
    node->SetText(WithoutBin(key));
    node->SetUserData(key);
    node->SetAttribute("folderattr", Owner().GetManager().GetDefaultAttributeList(kFileStyle));
    return Tree()->AddNode(std::move(node));
}

ui::TreeNode* MacroFolderPage::AddMacroNode(ui::TreeNode* fileNode, const std::u16string& name) {
    auto node = std::make_unique<ui::TreeNode>();
    node->SetText(ToUtf8(name));
    node->SetAttribute("folderattr", Owner().GetManager().GetDefaultAttributeList(kMacroStyle));
    return Tree()->AddNode(std::move(node), fileNode);
}

void MacroFolderPage::FillMacroList() {
    auto* tree = Tree();
    if (!tree) return;
    tree->RemoveAllNodes();
    for (const auto& [key, macros] : Files()) {
        ui::TreeNode* file = AddFileNode(key);
        for (const auto& entry : macros) AddMacroNode(file, entry->name);
    }
}

void MacroFolderPage::SelectFile(const std::string& key) {
    auto* tree = Tree();
    for (int i = 0; tree && i < tree->GetCount(); ++i) {
        ui::TreeNode* node = tree->NodeAt(i);
        if (node && !node->GetParentNode() && node->GetUserData() == key) tree->SelectItem(i, ui::Notify::No);
    }
}

MacroEntry* MacroFolderPage::SelectedMacro() {
    auto* tree = Tree();
    ui::TreeNode* node = tree ? tree->GetSelectedNode() : nullptr;
    if (!node || !node->GetParentNode()) return nullptr;
    auto it = Files().find(node->GetParentNode()->GetUserData());
    if (it == Files().end()) return nullptr;
    const auto& siblings = node->GetParentNode()->GetChildNodes();
    const size_t index =
        static_cast<size_t>(std::find(siblings.begin(), siblings.end(), node) - siblings.begin());
    return index < it->second.size() ? &it->second[index] : nullptr;
}

void MacroFolderPage::SaveFile(const std::string& key) {
    MacroStore::Instance().SaveFolderFile(Spec().model, key, {}, true);
}

void MacroFolderPage::SaveSelectedMacro() {
    if (auto key = SelectedFileKey()) SaveFile(*key);
}

bool MacroFolderPage::IsMacroNameTaken(const std::u16string& name) const {
    for (const auto& [key, macros] : Files())
        for (const auto& entry : macros)
            if (entry->name == name) return true;
    return false;
}

std::optional<std::string> MacroFolderPage::AskName(int mode, const std::string& initial) {
    auto dialog = MakeDialog(mode);
    dialog->SetInitialValue(initial);
    if (!RunDialog(*dialog) || dialog->Value().empty()) return std::nullopt;
    return dialog->Value();
}

void MacroFolderPage::NewMacro() {
    auto* tree = Tree();
    auto key = SelectedFileKey();
    if (!tree || !key || !RoomFor(Files()[*key], 1, kFileFullText)) return;
    auto typed = AskName(MarcoEditDialog::kNewName, "");
    if (!typed) return;
    const std::u16string name = ToUtf16(*typed);
    if (IsMacroNameTaken(name)) return;
    Files()[*key].Add(MacroEntry{name, {0x00}, 0});
    ui::TreeNode* file = FileNodeOf(tree->GetSelectedNode());
    ui::TreeNode* node = AddMacroNode(file, name);
    file->SetExpanded(true);
    SaveFile(*key);
    if (node) tree->SelectItem(tree->GetItemIndex(node), ui::Notify::Yes);
}

void MacroFolderPage::NewFile() {
    auto* tree = Tree();
    if (!tree) return;
    auto typed = AskName(MarcoEditDialog::kNewName, "");
    if (!typed) return;
    const std::string key = *typed + std::string(kBin);
    if (!MacroStore::IsPlainName(key) || Files().count(key)) return;
    Files()[key];
    SaveFile(key);
    if (ui::TreeNode* node = AddFileNode(key)) tree->SelectItem(tree->GetItemIndex(node), ui::Notify::Yes);
}

void MacroFolderPage::Rename() {
    auto* tree = Tree();
    ui::TreeNode* node = tree ? tree->GetSelectedNode() : nullptr;
    if (!node) return;
    if (!node->GetParentNode()) {
        const std::string oldKey = node->GetUserData();
        auto typed = AskName(MarcoEditDialog::kRename, WithoutBin(oldKey));
        if (!typed) return;
        const std::string newKey = *typed + std::string(kBin);
        // Refuses a name that another file has, in the set or on disk.
        if (!MacroStore::Instance().RenameFolderFile(Spec().model, oldKey, newKey)) return;
        node->SetUserData(newKey);
        node->SetText(WithoutBin(newKey));
        return;
    }
    MacroEntry* macro = SelectedMacro();
    if (!macro) return;
    auto typed = AskName(MarcoEditDialog::kRename, ToUtf8(macro->name));
    if (!typed) return;
    const std::u16string name = ToUtf16(*typed);
    if (IsMacroNameTaken(name)) return;
    macro->name = name;
    node->SetText(*typed);
    SaveSelectedMacro();
}

void MacroFolderPage::DeleteSelected() {
    auto* tree = Tree();
    ui::TreeNode* node = tree ? tree->GetSelectedNode() : nullptr;
    auto key = SelectedFileKey();
    if (!node || !key) return;
    const bool wholeFile = !node->GetParentNode();
    if (!wholeFile && !SelectedMacro()) return;
    auto dialog = MakeDialog(MarcoEditDialog::kConfirm);
    if (!RunDialog(*dialog)) return;
    if (wholeFile) {
        MacroStore::Instance().DeleteFolderFile(Spec().model, *key);
    } else {
        const auto& siblings = node->GetParentNode()->GetChildNodes();
        const auto index = std::find(siblings.begin(), siblings.end(), node) - siblings.begin();
        Files()[*key].RemoveAt(static_cast<size_t>(index));
        SaveFile(*key);
    }
    tree->RemoveNode(node);
    ClearSteps();
}

void MacroFolderPage::Export() {
    auto key = SelectedFileKey();
    if (!key) return;
    auto path = AskFile(true, BaseName(*key));
    if (!path) return;
    MacroStore::Instance().SaveFolderFile(Spec().model, *key, *path, false);
}

void MacroFolderPage::Import() {
    auto* tree = Tree();
    if (!tree) return;
    auto selected = SelectedFileKey();
    auto path = AskFile(false);
    // An unreadable file adds nothing, not even an empty file.
    if (!path || !platform::ReadFileBytes(*path, 1)) return;
    std::string key = selected ? *selected : BaseName(*path);
    if (!selected && !EndsWithBin(key)) key += kBin;  // the folder lists "*.bin" files only
    if (!MacroStore::IsPlainName(key)) return;
    if (MacroStore::Instance().LoadFolderFile(Spec().model, *path, key) == MacroStore::FolderLoad::NoRoom) {
        ShowMessage(kImportTooLongText);
        return;
    }
    FillMacroList();
    ClearSteps();
    // Written at once, so that the imported file is still there on the next start.
    SaveFile(key);
    SelectFile(key);
}
