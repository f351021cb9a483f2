#pragma once
// The Egret's macro folder page ("MacroSettingFolderPage_Egret").
#include "macro/MacroFolderPage.h"

class MarcoMangerFolder_Egret final : public MacroFolderPage {
  public:
    explicit MarcoMangerFolder_Egret(ui::WindowImplBase& owner) : MacroFolderPage(owner, EgretPageSpec()) {}
};
