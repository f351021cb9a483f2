#pragma once
// The folder view of a model's macros: the files of the model's macro folder as a tree, each
// file's macros below it. Each change saves the one folder file it touched.
#include <optional>

#include "macro/MacroFileSet.h"
#include "macro/MacroManagerPage.h"

namespace ui {
class TreeNode;
class TreeView;
}  // namespace ui

class MacroFolderPage : public MacroManagerPage {
  public:
    MacroFolderPage(ui::WindowImplBase& owner, const MacroPageSpec& spec);

    // The key (file name with ".bin") of the selected file node or of the selected macro's file.
    std::optional<std::string> SelectedFileKey() const;

  protected:
    std::string SkinFile() const override { return Spec().folderSkin; }
    void FillMacroList() override;
    MacroEntry* SelectedMacro() override;
    void SaveSelectedMacro() override;
    void NewMacro() override;
    void NewFile() override;
    void Rename() override;
    void DeleteSelected() override;
    void Export() override;
    void Import() override;

  private:
    MacroFileSet& Files() const;
    ui::TreeView* Tree() const;
    ui::TreeNode* FileNodeOf(ui::TreeNode* node) const;
    ui::TreeNode* AddFileNode(const std::string& key);
    ui::TreeNode* AddMacroNode(ui::TreeNode* fileNode, const std::u16string& name);
    void SelectFile(const std::string& key);
    bool IsMacroNameTaken(const std::u16string& name) const;
    // A name the user typed, or nothing when it is empty or the dialog was cancelled.
    std::optional<std::string> AskName(int mode, const std::string& initial);
    void SaveFile(const std::string& key);
};
