#include "mouse/CDialogMouseIbisSetting.h"

#include "assign/KeyEdit_Ibis.h"

namespace mouse {

CDialogMouseIbisSetting::CDialogMouseIbisSetting(ui::WindowImplBase& owner)
    : FamilyEPage(owner, LightingEditor::IbisModes()) {}

bool CDialogMouseIbisSetting::EditKey(KeySlot& slot) {
    assign::KeyEdit_Ibis editor(&Owner(), Config(), slot);
    return editor.RunModal();
}

}  // namespace mouse
