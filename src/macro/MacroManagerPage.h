#pragma once
// The pattern every macro manager page shares: a macro list, the step list (`MarcoListUI`), the
// record button, delay and loop options, the insert combo and the right-click menus. Every change
// is encoded and written to the working files at once. The page finds its controls inside its own
// content only, so several macro pages may live in one window. File and folder pages supply the
// macro list part; a model supplies its data (`MacroPageSpec`).
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macro/CMenuWnd.h"
#include "macro/MacroPageSpec.h"
#include "macro/MacroRecorder.h"
#include "macro/MacroStep.h"
#include "macro/MarcoEditDialog.h"
#include "macro/StepNames.h"
#include "records/MacroEntry.h"
#include "records/MacroList.h"
#include "ui/layout/SkinPage.h"

class MarcoListUI;

class MacroManagerPage : public ui::SkinPage, private MacroRecorder::Host {
  public:
    MacroManagerPage(ui::WindowImplBase& owner, const MacroPageSpec& spec, ModifierWords words);
    ~MacroManagerPage() override;

    // Builds the page's skin once it is in the window's tree, then fills the macro list.
    void DoInit() override;

    // Fills the macro list again from the store (after the device page loaded its macros).
    void Reload();

    const MacroPageSpec& Spec() const { return spec_; }
    const MacroRecorder& Recorder() const { return *recorder_; }
    const LoopSettings& LoopState() const { return loop_; }
    CMenuWnd* Menu() const { return menu_.get(); }
    // The control named `base` plus the model suffix, inside this page.
    ui::Control* FindOwn(std::string_view base) const;
    template <typename T>
    T* FindOwn(std::string_view base) const {
        return dynamic_cast<T*>(FindOwn(base));
    }
    // Whether `control` lies inside this page.
    bool Owns(const ui::Control* control) const;

    // Converts between the UTF-16 names of macros and the UTF-8 of controls.
    static std::string ToUtf8(std::u16string_view text);
    static std::u16string ToUtf16(std::string_view text);

  protected:
    // Messages when a macro file would grow past what loading reads.
    static constexpr const char* kFileFullText = "%{525}";
    static constexpr const char* kImportTooLongText = "%{526}";
    // Titles and filter name of the export and import dialogs.
    static constexpr const char* kExportTitle = "%{652}";
    static constexpr const char* kImportTitle = "%{653}";
    static constexpr const char* kFilterName = "%{655}";

    virtual std::string SkinFile() const = 0;
    virtual void FillMacroList() = 0;
    virtual MacroEntry* SelectedMacro() = 0;
    // Writes the list or folder file that holds the selected macro.
    virtual void SaveSelectedMacro() = 0;
    virtual void NewMacro() = 0;
    virtual void NewFile() {}
    virtual void Rename() = 0;
    virtual void DeleteSelected() = 0;
    virtual void Export() = 0;
    virtual void Import() = 0;
    // Called for "itemselect" from the macro list.
    virtual void OnMacroListSelect() { ShowMacro(); }
    virtual std::vector<std::string> HiddenMenuItems() const { return {}; }
    // A notification from inside the page for controls only a model's page has; true when handled.
    virtual bool OnOwnNotify(ui::Notification&) { return false; }
    // Custom classes of the page's skin beyond "MarcoList".
    virtual std::unique_ptr<ui::Control> CreatePageControl(std::string_view className) { return nullptr; }

    ui::WindowImplBase& Owner() const { return owner_; }
    std::string Name(std::string_view base) const { return spec_.Name(base); }
    MarcoListUI* StepList() override;
    const StepNames& Names() override { return names_; }
    // Runs an entry dialog with the editing container disabled; true on OK.
    bool RunDialog(MarcoEditDialog& dialog);
    std::unique_ptr<MarcoEditDialog> MakeDialog(int mode) const;
    // Shows the text `reference` ("%{525}") in the program's message box over the page's window.
    void ShowMessage(const std::string& reference) const;
    // False, after telling the user, when `list` has no room for `more` macros: the macro file would
    // grow past what loading reads.
    bool RoomFor(const MacroList& list, size_t more, const char* refusal) const;
    // Asks for a macro file to export to (save, suggesting `suggestedName`) or import from.
    std::optional<std::string> AskFile(bool save, const std::string& suggestedName = {}) const;
    // Decodes the selected macro into the step list and sets the loop controls.
    void ShowMacro();
    void ClearSteps();
    // Encodes the steps and loop settings into the selected macro and saves it.
    void Changed();

  private:
    void OnNotify(ui::Notification& n);
    void HandleClick(ui::Control* sender);
    void StartRecording();
    void StopRecording();
    void SetRecordButton(bool recording);
    void SetEditingEnabled(bool enabled);
    void OpenMenu(const ui::Notification& n);
    void EditStep();
    void DeleteStep();
    void InsertFromCombo();
    void InsertRows(const std::vector<MacroStep>& steps, int at);
    void ShowLoop();
    void KeepDelayField();
    void KeepCountField();
    std::vector<MacroStep> Steps();
    int FieldNumber(std::string_view base) const;
    // MacroRecorder::Host
    LoopSettings Loop() override;
    int FixedDelay() override;

    ui::WindowImplBase& owner_;
    const MacroPageSpec& spec_;
    StepNames names_;
    LoopSettings loop_;
    std::unique_ptr<MacroRecorder> recorder_;
    std::unique_ptr<CMenuWnd> menu_;
    ui::ListenerHandle listener_;
    bool initialised_ = false;
};
