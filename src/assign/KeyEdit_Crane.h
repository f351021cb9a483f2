#pragma once
// The Crane's key assignment editor: the family-E editor with the Crane's names and reserved codes,
// two key lists (every profile after the first edits the second) and a gun code per fire-macro row.
#include "assign/KeyEdit.h"
#include "records/CraneConfig.h"

namespace assign {

class KeyEdit_Crane final : public KeyEdit {
  public:
    static const KeyEditSpec kSpec;

    KeyEdit_Crane(ui::WindowImplBase* owner, CraneConfig& config, const KeySlot& slot);
};

}  // namespace assign
