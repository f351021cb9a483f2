#pragma once
// The Egret mouse's page: the family-E design with the Egret's record, its variants (device kind 0:
// three profiles, ten fire macros, the plain lighting page; otherwise two profiles, seven fire
// macros, the UART LED editor) and its library calls.
#include <memory>

#include "mouse/FamilyEPage.h"
#include "records/EgretConfig.h"

namespace assign {
class FireKeyEdit_Egret;
}

namespace mouse {

class UartLedEdit_Egret;

class CDialogMouseEgretSetting final : public FamilyEPage {
  public:
    explicit CDialogMouseEgretSetting(ui::WindowImplBase& owner);
    FamilyEConfig& Config() override { return config_; }
    EgretConfig& Egret() { return config_; }

  protected:
    std::shared_ptr<FamilyEConfig> CopyConfig() const override;
    std::shared_ptr<FamilyEConfig> NewConfig() const override;
    bool ReadRecord(FamilyEConfig& fresh, int keyCount) override;
    bool WriteRecord(const FamilyEConfig& copy, int operation, int editedKeyIndex) override;
    bool WriteKey(const FamilyEConfig& copy, int profile, int keyIndex) override;
    void Adopt(std::shared_ptr<FamilyEConfig> fresh) override;
    int LightingPage() const override { return config_.deviceKind == 0 ? 4 : 3; }
    void LightingShown() override;
    std::unique_ptr<ui::Control> CreateSubPage(std::string_view className) override;
    bool EditKey(KeySlot& slot) override;
    std::unique_ptr<ui::Control> CreateFireKeyPanel() override;
    void FireKeyTabOpened() override;

  private:
    EgretConfig config_;
    UartLedEdit_Egret* uartLedEditor_ = nullptr;      // owned by the page's control tree
    assign::FireKeyEdit_Egret* firePanel_ = nullptr;  // owned by the page's control tree
};

}  // namespace mouse
