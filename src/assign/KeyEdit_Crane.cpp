#include "assign/KeyEdit_Crane.h"

namespace assign {

const KeyEditSpec KeyEdit_Crane::kSpec{
    .model = CraneConfig::kModel,
    .suffix = "Crane",
    .reservedSpecial = 0x100130FFu,
    .reservedMacro = {0x10, 0x01, 0x30},
    .reservedProfile = 1,
    .gunCodes = {0, 1, 2, 3, 4, 5, 6},
    .combinations = true,
    .keyListOfProfile = {0, 1, 1},
    .fireMacroFollowsPage = false,
};

KeyEdit_Crane::KeyEdit_Crane(ui::WindowImplBase* owner, CraneConfig& config, const KeySlot& slot)
    : KeyEdit(owner, kSpec, config, slot, std::make_unique<RecordKeyEditDevice<CraneConfig>>(config)) {}

}  // namespace assign
