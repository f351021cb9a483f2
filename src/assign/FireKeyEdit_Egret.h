#pragma once
// The Egret's fire-key panel. Variant 0 holds ten fire-macro slots: the 5.56 mm preset spans slots 5
// and 6, the 7.62 mm preset slots 7 to 9. The other variants hold seven, one per gun.
#include "assign/FireKeyEdit.h"
#include "records/EgretConfig.h"

namespace assign {

class FireKeyEdit_Egret final : public FireKeyEdit {
  public:
    static const FireKeyEditSpec kSpec;

    FireKeyEdit_Egret(EgretConfig& config, ColourChooser chooser);
    std::string_view GetClass() const override { return "FireKeyEdit_Egret"; }

  protected:
    const GunSlots& Slots() const override;
    bool WriteSlot(int slot) override;

  private:
    EgretConfig& egret_;
};

}  // namespace assign
