#include "mouse/CDialogMouseIbisSetting.h"

namespace mouse {

CDialogMouseIbisSetting::CDialogMouseIbisSetting(ui::WindowImplBase& owner)
    : FamilyEPage(owner, LightingEditor::IbisModes()) {}

}  // namespace mouse
