#pragma once
// The macro file and folder pages ("MacroSettingFilePage_<model>", "MacroSettingFolderPage_<model>")
// and the entry dialog of each mouse model: the shared pages over the model's row.
#include <functional>
#include <memory>

#include "macro/MacroFilePage.h"
#include "macro/MacroFolderPage.h"
#include "macro/MarcoEditDialog.h"

template <const MacroPageSpec& (*SpecOf)()>
class ModelMacroFilePage final : public MacroFilePage {
  public:
    explicit ModelMacroFilePage(ui::WindowImplBase& owner) : MacroFilePage(owner, SpecOf()) {}
};

template <const MacroPageSpec& (*SpecOf)()>
class ModelMacroFolderPage final : public MacroFolderPage {
  public:
    explicit ModelMacroFolderPage(ui::WindowImplBase& owner) : MacroFolderPage(owner, SpecOf()) {}
};

template <const MarcoEditSpec& (*SpecOf)()>
class ModelMarcoEdit final : public MarcoEditDialog {
  public:
    explicit ModelMarcoEdit(int mode) : MarcoEditDialog(SpecOf(), mode) {}
};

using MarcoMangerFile_Egret = ModelMacroFilePage<EgretPageSpec>;
using MarcoMangerFolder_Egret = ModelMacroFolderPage<EgretPageSpec>;
using MarcoEdit_Egret = ModelMarcoEdit<EgretEditSpec>;

using MarcoMangerFile_Ibis = ModelMacroFilePage<IbisPageSpec>;
using MarcoManagerFolder_Ibis = ModelMacroFolderPage<IbisPageSpec>;
using MarcoEdit_Ibis = ModelMarcoEdit<IbisEditSpec>;

using MarcoMangerFile_Heron = ModelMacroFilePage<HeronPageSpec>;
using MarcoManagerFolder_Heron = ModelMacroFolderPage<HeronPageSpec>;
using MarcoEdit_Heron = ModelMarcoEdit<HeronEditSpec>;

using MarcoMangerFile_Heron_Driver = ModelMacroFilePage<HeronDriverPageSpec>;
using MarcoManagerFolder_Heron_Driver = ModelMacroFolderPage<HeronDriverPageSpec>;
using MarcoEdit_Heron_Driver = ModelMarcoEdit<HeronDriverEditSpec>;

using MarcoMangerFile_Crane = ModelMacroFilePage<CranePageSpec>;
using MarcoEdit_Crane = ModelMarcoEdit<CraneEditSpec>;

// The Crane's folder page also hosts the macro random time: a check box that turns it on (10) or off
// (0) and the value from 1 to 255 beside it. Each change is reported for the page to write.
class MarcoManagerFolder_Crane final : public MacroFolderPage {
  public:
    using RandomTimeChanged = std::function<void(int randomTime)>;
    MarcoManagerFolder_Crane(ui::WindowImplBase& owner, RandomTimeChanged changed);

    // Shows `randomTime` (0: off) without reporting it; a page not built yet shows it once it is.
    void ShowRandomTime(int randomTime);
    void DoInit() override;

  protected:
    bool OnOwnNotify(ui::Notification& n) override;

  private:
    RandomTimeChanged changed_;
    int shown_ = 0;
};

using MarcoEdit = ModelMarcoEdit<KeyboardEditSpec>;

// The file or folder page of `model`; null for a model without macro pages.
std::unique_ptr<MacroManagerPage> CreateModelMacroPage(DeviceModel model, ui::WindowImplBase& owner,
                                                       bool folder);
