#pragma once
// The key assignment editors of the Heron, reached directly or through its driver: the shared editor
// with three-byte codes, a capture in which every key press starts anew, no reserved codes, and the
// Heron macro memory, which lays the device's macros out again whenever a key gets one. Both change
// only the library's copy of the mouse; the page writes it on the user's request.
#include <memory>

#include "assign/HeronMacroMemory.h"
#include "assign/KeyEdit.h"
#include "records/HeronConfig.h"

namespace assign {

// What the two Heron editors share; they differ by their names and the macro memory's constants.
class FamilyHKeyEdit : public KeyEdit {
  public:
    // True on OK or Reset when the key, another key or the library's macros changed: the page then
    // relabels its keys, puts the edited key into the library's copy and marks itself pending.
    bool RunModal();

  protected:
    FamilyHKeyEdit(ui::WindowImplBase* owner, const KeyEditSpec& spec, HeronMacroMemory::Constants constants,
                   FamilyHConfig& config, const KeySlot& slot);

  private:
    HeronMacroMemory* memory_;  // owned by the editor
};

class KeyEdit_Heron final : public FamilyHKeyEdit {
  public:
    static const KeyEditSpec kSpec;

    KeyEdit_Heron(ui::WindowImplBase* owner, HeronConfig& config, const KeySlot& slot);
};

}  // namespace assign
