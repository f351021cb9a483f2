#pragma once
// What the mouse pages of both designs (family E, family H) share: the model's control names and
// navigation, the macro sub-pages, the notification dispatch, the connection state shown, the
// profile file buttons and the requests to the main window. A design adds its record, its editors
// and how it reads and writes.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro/MacroManagerPage.h"
#include "mouse/MousePage.h"
#include "mouse/PageNames.h"
#include "mouse/PageNavigation.h"

namespace mouse {

class ModelPage : public MousePage {
  public:
    // `navigation`: the base names of the page's navigation buttons.
    ModelPage(ui::WindowImplBase& owner, const ModelRow& row, std::vector<std::string> navigation);

    const PageNames& Names() const { return names_; }
    const std::string& FilePath() const { return filePath_; }
    // Shows the record in the controls.
    virtual void Refresh() = 0;

  protected:
    // UI thread: a click (true when handled); a change of one of the page's setting controls
    // ("selectchanged", "itemselect", "valuechanged", "valuechanging", "textchanged", "killfocus");
    // the key buttons' labels (after a language change).
    virtual bool HandleClick(ui::Control* sender) = 0;
    virtual void HandleSetting(ui::Notification& n) = 0;
    virtual void LabelKeys() = 0;
    // The model's file or folder macro page, by default the model's own; null leaves an empty panel.
    virtual std::unique_ptr<MacroManagerPage> CreateMacroPage(bool folder);

    // The macro page `className` names when it is one of the row's (`folder` says which), an empty
    // panel for a model without one; null for other classes.
    std::unique_ptr<ui::Control> CreateMacroSubPage(std::string_view className, bool& folder);
    // At init: the model's macros are loaded and the macro pages show them, the view the skin
    // selects is shown; the navigation takes its images.
    void InitSections();
    // Requests `operation`: its copy of the page is taken now, the request is delivered later.
    void RequestOperation(int operation);
    // Enables the device area while connected; false when it is not (nothing more to show).
    bool ShowEnabled();
    // Shows profile `profile`'s button selected and the key page.
    void SelectProfile(int profile);
    // A click both designs answer alike: the macro views, the profile file buttons (the request is
    // sent) and the web button. True when `sender` was one of them.
    bool HandleSharedClick(ui::Control* sender);
    // Shows the file or folder macro view; true when the skin has both.
    virtual bool ShowMacroView(bool folder);

    void OnNotify(ui::Notification& n) final;
    void SetConnected(bool connected) override;

    PageNames names_;
    PageNavigation nav_;
    std::string filePath_;  // of the latest file request; each request copies it

  private:
    std::vector<MacroManagerPage*> macroPages_;  // owned by the page's tree
};

}  // namespace mouse
