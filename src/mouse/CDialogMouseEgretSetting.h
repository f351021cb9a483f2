#pragma once
// The Egret mouse's page: the family-E design over the Egret's record. Its variants (device kind 0:
// three profiles, ten fire macros, the plain lighting page; otherwise two profiles, seven fire
// macros, the UART LED editor) are its table row; the page adds the UART LED editor, the effect
// block and its key editor; its fire-key panel and macro pages are the model's own by default.
#include <memory>

#include "mouse/FamilyEPage.h"
#include "records/EgretConfig.h"

namespace mouse {

class UartLedEdit_Egret;

class CDialogMouseEgretSetting final : public FamilyEPage<EgretConfig> {
  public:
    explicit CDialogMouseEgretSetting(ui::WindowImplBase& owner);
    EgretConfig& Egret() { return Config(); }

  protected:
    std::unique_ptr<ui::Control> CreateSubPage(std::string_view className) override;
    void ReadOwnFields(EgretConfig& fresh) override;
    bool WriteOwn(const EgretConfig& copy, WriteGroup group, int target) override;
    void LightingShown() override;
    bool EditKey(KeySlot& slot) override;

  private:
    UartLedEdit_Egret* uartLedEditor_ = nullptr;  // owned by the page's control tree
};

}  // namespace mouse
