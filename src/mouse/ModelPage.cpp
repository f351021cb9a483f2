#include "mouse/ModelPage.h"

#include "macro/MacroModelPages.h"
#include "macro/MacroStore.h"
#include "mouse/MousePageParts.h"
#include "platform/DesktopShell.h"
#include "ui/controls/Option.h"
#include "ui/layout/SkinPage.h"
#include "ui/layout/TabLayout.h"

namespace mouse {

ModelPage::ModelPage(ui::WindowImplBase& owner, const ModelRow& row, std::vector<std::string> navigation)
    : MousePage(owner, row),
      names_(row.suffix, row.keyGroup),
      nav_(names_, std::move(navigation), "Setting_switch") {}

std::unique_ptr<MacroManagerPage> ModelPage::CreateMacroPage(bool folder) {
    return CreateModelMacroPage(Row().model, Owner(), folder);
}

std::unique_ptr<ui::Control> ModelPage::CreateMacroSubPage(std::string_view className, bool& folder) {
    const SubPages& sub = Row().subPages;
    folder = IsSubPage(className, sub.folderMacros, Row().suffix);
    if (!folder && !IsSubPage(className, sub.fileMacros, Row().suffix)) return nullptr;
    // A model without macro pages keeps an empty panel in their place.
    auto page = CreateMacroPage(folder);
    if (!page) return std::make_unique<ui::SkinPage>();
    macroPages_.push_back(page.get());
    return page;
}

void ModelPage::InitSections() {
    auto& store = MacroStore::Instance();
    store.SyncMacroFolder(Row().model);
    store.LoadMacroFile(Row().model);
    // The macro pages were built with the page's skin, before the macros were loaded.
    for (auto* page : macroPages_) page->Reload();
    // The view the skin shows first; the key editor lists the macros of the view shown.
    if (auto* folder = Manager().Find<ui::Option>(names_("macro_view_folder")))
        ShowMacroView(folder->IsSelected());
    nav_.Capture(Manager());
}

void ModelPage::RequestOperation(int operation) {
    // The notification is delivered later; by then the user may have changed the target again.
    KeepPreparedWrite(operation);
    Manager().SendNotify(nullptr, Row().writeRequest, 0, operation, true, true);
}

bool ModelPage::ShowEnabled() {
    // The device area goes grey while the mouse is away; a skin without one greys the whole page.
    if (auto* root = Manager().FindControl("device_Mouse_" + names_.Suffix() + "_page"))
        root->SetEnabled(connected_);
    else
        SetEnabled(connected_);
    return connected_;
}

void ModelPage::SelectProfile(int profile) {
    nav_.Select(Manager(), "profile" + std::to_string(profile + 1));
    nav_.ShowPage(Manager(), Row().layout.keys);
}

bool ModelPage::ShowMacroView(bool folder) {
    auto* views = Manager().Find<ui::TabLayout>(names_("macro_view"));
    if (!views) return false;
    views->SelectItem(folder ? 1 : 0, ui::Notify::No);
    return true;
}

bool ModelPage::HandleSharedClick(ui::Control* sender) {
    if (!sender) return false;
    if (sender->NameIs(names_("macro_view_file")) || sender->NameIs(names_("macro_view_folder"))) {
        ShowMacroView(sender->NameIs(names_("macro_view_folder")));
        return true;
    }
    if (sender->NameIs(names_("web_data"))) {
        platform::OpenWithDefaultHandler(sender->GetUserData());
        return true;
    }
    const FileRequest file = HandleFileButton(Owner(), Row(), names_, sender, filePath_);
    if (file.operation) RequestOperation(file.operation);
    return file.handled;
}

void ModelPage::SetConnected(bool connected) {
    connected_ = connected;
    ShowConnectionStatus();
    Refresh();
}

void ModelPage::OnNotify(ui::Notification& n) {
    auto& m = Manager();
    if (n.type == "click") {
        HandleClick(n.sender);
    } else if (n.type == "selectchanged" || n.type == "itemselect" || n.type == "valuechanged" ||
               n.type == "valuechanging" || n.type == "textchanged" || n.type == "killfocus") {
        if (n.sender) HandleSetting(n);
    } else if (!n.sender && n.type == Row().lostNotification) {
        SetConnected(false);
    } else if (!n.sender && n.type == Row().readNotification) {
        connected_ = true;
        ShowConnectionStatus();
        Refresh();
    } else if (!n.sender && n.type == "Update_Profile") {
        if (connected_ && m.GetRoot()) m.GetRoot()->NeedUpdate();
    } else if (!n.sender && n.type == "Change_Language_Profile") {
        if (connected_) LabelKeys();
    }
}

}  // namespace mouse
