#include "assign/KeyEdit_Heron.h"

#include "assign/KeyEdit_Heron_Driver.h"

namespace assign {
namespace {

// Three-byte codes: mouse buttons and consumer keys are a class byte and the item's 16 bits, the
// special functions, PC keys and fire macros the item's whole 24-bit code.
constexpr std::array<CategoryCode, 6> kFamilyHCodes{{{CodeRule::ClassAndLow16, kMouseButton},
                                                     {CodeRule::Value},
                                                     {CodeRule::ClassAndLow16, kConsumer},
                                                     {CodeRule::ClassAndLow16, kConsumer},
                                                     {CodeRule::Value},
                                                     {CodeRule::Value}}};

// No reserved codes (no profile is the reserved one), no combinations, two key lists; the two
// models differ only by their names.
KeyEditSpec FamilyHSpec(DeviceModel model, const char* suffix, const char* currentValue,
                        const char* windowName) {
    return {
        .model = model,
        .suffix = suffix,
        .reservedSpecial = 0,
        .reservedMacro = {},
        .reservedProfile = -1,
        .gunCodes = {},
        .combinations = false,
        .codeBytes = 3,
        .listCodes = kFamilyHCodes,
        .keyListOfProfile = {0, 1, 1},
        .fireMacroFollowsPage = false,
        .currentValue = currentValue,
        .windowName = windowName,
    };
}

}  // namespace

const KeyEditSpec KeyEdit_Heron::kSpec =
    FamilyHSpec(HeronConfig::kModel, "Heron", "current_value_Heron", nullptr);
const KeyEditSpec KeyEdit_Heron_Driver::kSpec = FamilyHSpec(
    HeronDriverConfig::kModel, "Heron_Driver", "current_value_Heron_Driver", "KeyEdit_Heron_Driver_Driver");

FamilyHKeyEdit::FamilyHKeyEdit(ui::WindowImplBase* owner, const KeyEditSpec& spec,
                               HeronMacroMemory::Constants constants, FamilyHConfig& config,
                               const KeySlot& slot)
    : KeyEdit(owner, spec, std::make_unique<FamilyHKeyEditRecord>(spec.model, config), slot,
              [&spec, constants, &config](int keyList, int keyIndex) -> std::unique_ptr<KeyMacros> {
                  return std::make_unique<HeronMacroMemory>(spec.model, constants, config, keyList, keyIndex);
              }),
      memory_(static_cast<HeronMacroMemory*>(&Macros())) {}

bool FamilyHKeyEdit::RunModal() {
    return KeyEdit::RunModal() && memory_->Changed();
}

KeyEdit_Heron::KeyEdit_Heron(ui::WindowImplBase* owner, HeronConfig& config, const KeySlot& slot)
    : FamilyHKeyEdit(owner, kSpec, HeronMacroMemory::kHeron, config, slot) {}

KeyEdit_Heron_Driver::KeyEdit_Heron_Driver(ui::WindowImplBase* owner, HeronDriverConfig& config,
                                           const KeySlot& slot)
    : FamilyHKeyEdit(owner, kSpec, HeronMacroMemory::kHeronDriver, config, slot) {}

}  // namespace assign
