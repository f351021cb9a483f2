#include "macro/MacroModelPages.h"

#include <algorithm>

#include "macro/MarcoEditDialog.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"

namespace {

using PageFactory = std::unique_ptr<MacroManagerPage> (*)(ui::WindowImplBase&);

template <class Page>
std::unique_ptr<MacroManagerPage> Make(ui::WindowImplBase& owner) {
    return std::make_unique<Page>(owner);
}

struct ModelPages {
    DeviceModel model;
    PageFactory file;
    PageFactory folder;
};

constexpr ModelPages kPages[] = {
    {DeviceModel::Egret, Make<MarcoMangerFile_Egret>, Make<MarcoMangerFolder_Egret>},
    {DeviceModel::Ibis, Make<MarcoMangerFile_Ibis>, Make<MarcoManagerFolder_Ibis>},
    {DeviceModel::Heron, Make<MarcoMangerFile_Heron>, Make<MarcoManagerFolder_Heron>},
    {DeviceModel::HeronDriver, Make<MarcoMangerFile_Heron_Driver>, Make<MarcoManagerFolder_Heron_Driver>},
    // Its device page makes the folder page itself, to hear of the random time.
    {DeviceModel::Crane, Make<MarcoMangerFile_Crane>,
     [](ui::WindowImplBase& owner) -> std::unique_ptr<MacroManagerPage> {
         return std::make_unique<MarcoManagerFolder_Crane>(owner, nullptr);
     }},
};

constexpr int kRandomTimeOn = 10;  // what ticking the box starts with
constexpr int kRandomTimeMax = 255;

}  // namespace

MarcoManagerFolder_Crane::MarcoManagerFolder_Crane(ui::WindowImplBase& owner, RandomTimeChanged changed)
    : MacroFolderPage(owner, CranePageSpec()), changed_(std::move(changed)) {}

void MarcoManagerFolder_Crane::DoInit() {
    MacroFolderPage::DoInit();
    ShowRandomTime(shown_);
}

void MarcoManagerFolder_Crane::ShowRandomTime(int randomTime) {
    shown_ = randomTime;
    auto* box = FindOwn<ui::Option>("random_time_check");
    auto* edit = FindOwn<ui::Edit>("random_time_edit");
    if (box) box->SetSelected(randomTime != 0, ui::Notify::No);
    if (!edit) return;
    edit->SetEnabled(randomTime != 0);
    if (randomTime != 0) edit->SetText(std::to_string(randomTime), ui::Notify::No);
}

bool MarcoManagerFolder_Crane::OnOwnNotify(ui::Notification& n) {
    auto* edit = FindOwn<ui::Edit>("random_time_edit");
    int value = 0;
    if (n.type == "selectchanged" && n.sender->NameIs(Name("random_time_check"))) {
        auto* box = dynamic_cast<ui::Option*>(n.sender);
        value = box && box->IsSelected() ? kRandomTimeOn : 0;
        if (edit) {
            edit->SetEnabled(value != 0);
            edit->SetText(std::to_string(value), ui::Notify::No);
        }
        shown_ = value;
    } else if (n.type == "textchanged" && edit && n.sender == edit) {
        const long long typed = MarcoEditDialog::ReadNumber(edit->GetText());
        value = static_cast<int>(std::clamp<long long>(typed, 1, kRandomTimeMax));
        // A value out of range is replaced in the field by the limit it crossed.
        if (value != typed) edit->SetText(std::to_string(value), ui::Notify::No);
        shown_ = value;
    } else {
        return false;
    }
    if (changed_) changed_(value);
    return true;
}

std::unique_ptr<MacroManagerPage> CreateModelMacroPage(DeviceModel model, ui::WindowImplBase& owner,
                                                       bool folder) {
    for (const auto& pages : kPages)
        if (pages.model == model) return (folder ? pages.folder : pages.file)(owner);
    return nullptr;
}
