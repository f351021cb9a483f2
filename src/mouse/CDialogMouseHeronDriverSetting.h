#pragma once
// The Heron mouse reached through its driver library: the family-H design over `HeronDriverConfig`.
// What it adds is the driver block — the four bytes every open passes after the Heron's ids, kept
// between runs in the macro working folder. The lighting and the active stage live in the block;
// the lighting options change only the block, which reaches the mouse with the write (operation 0).
// The driver has no lighting speed, no all/half option, no fire macros, and writes its press types
// nowhere.
#include <functional>

#include "mouse/FamilyHPage.h"
#include "mouse/LightingEditor.h"
#include "records/HeronDriverConfig.h"

namespace mouse {

class CDialogMouseHeronDriverSetting final : public FamilyHPage<HeronDriverConfig> {
  public:
    explicit CDialogMouseHeronDriverSetting(ui::WindowImplBase& owner);

  protected:
    void InitPage() override;
    std::optional<DriverBlock> OpenBlock() const override;
    void ShowLighting() override;
    bool HandleLighting(ui::Notification& n) override;
    void StageOptionChosen(int shown) override;
    void StageCountChosen(int item) override;
    bool BeforeMouseWrite(const HeronDriverConfig& copy) override;
    void AfterMouseWrite(const HeronDriverConfig& copy, bool ok) override;
    bool EditKey(KeySlot& slot) override;

  private:
    LightingEditor lighting_;
};

}  // namespace mouse
