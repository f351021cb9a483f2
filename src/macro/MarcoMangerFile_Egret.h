#pragma once
// The Egret's macro file page ("MacroSettingFilePage_Egret").
#include "macro/MacroFilePage.h"

class MarcoMangerFile_Egret final : public MacroFilePage {
  public:
    explicit MarcoMangerFile_Egret(ui::WindowImplBase& owner) : MacroFilePage(owner, EgretPageSpec()) {}
};
