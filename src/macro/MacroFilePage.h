#pragma once
// The file view of a model's macros: the model's macro file as one list of macros.
#include "macro/MacroManagerPage.h"
#include "records/MacroList.h"

namespace ui {
class List;
}

class MacroFilePage : public MacroManagerPage {
  public:
    MacroFilePage(ui::WindowImplBase& owner, const MacroPageSpec& spec);

  protected:
    std::string SkinFile() const override { return Spec().fileSkin; }
    void FillMacroList() override;
    MacroEntry* SelectedMacro() override;
    void SaveSelectedMacro() override;
    void NewMacro() override;
    void Rename() override;
    void DeleteSelected() override;
    void Export() override;
    void Import() override;
    std::vector<std::string> HiddenMenuItems() const override { return {"menu_Name_New_File"}; }

  private:
    MacroList& Macros() const;
    ui::List* MacroListControl() const;
    bool IsNameTaken(const std::u16string& name) const;
    // A name the user typed, or nothing when it is empty, taken or the dialog was cancelled.
    std::optional<std::u16string> AskName(int mode, const std::string& initial);
};
