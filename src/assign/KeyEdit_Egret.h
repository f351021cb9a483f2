#pragma once
// The Egret's key assignment editor: the family-E editor with the Egret's names and codes, and the
// lighting switch, whose eight effect combos fill the device's lighting effect block.
#include "assign/KeyEdit.h"
#include "records/EgretConfig.h"

namespace assign {

class KeyEdit_Egret final : public KeyEdit {
  public:
    static const KeyEditSpec kSpec;
    static constexpr int kEffectCombos = 8;

    KeyEdit_Egret(ui::WindowImplBase* owner, EgretConfig& config, const KeySlot& slot);

  protected:
    void InitModelCategories() override;
    void ApplyModelCategories(Category chosen) override;

  private:
    EgretConfig& egret_;
};

}  // namespace assign
