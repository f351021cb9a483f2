#pragma once
// The key assignment editor of the Heron reached through its driver: the Heron editor with the
// driver's names and its larger macro memory.
#include "assign/KeyEdit_Heron.h"
#include "records/HeronDriverConfig.h"

namespace assign {

class KeyEdit_Heron_Driver final : public FamilyHKeyEdit {
  public:
    static const KeyEditSpec kSpec;

    KeyEdit_Heron_Driver(ui::WindowImplBase* owner, HeronDriverConfig& config, const KeySlot& slot);
};

}  // namespace assign
