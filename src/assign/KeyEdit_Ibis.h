#pragma once
// The Ibis's key assignment editor: the family-E editor with the Ibis's names, reserved codes and
// the fire-macro rows whose second byte the user picks.
#include "assign/KeyEdit.h"
#include "records/IbisConfig.h"

namespace assign {

class KeyEdit_Ibis final : public KeyEdit {
  public:
    static const KeyEditSpec kSpec;

    KeyEdit_Ibis(ui::WindowImplBase* owner, IbisConfig& config, const KeySlot& slot);
};

}  // namespace assign
