#pragma once
// The Ibis mouse's page: the family-E design over the Ibis's record, with its own lighting modes
// and key editor; its macro pages and fire-key panel are the model's own by default.
// Everything else that differs from the Egret (three profiles always, ten fire macros, no UART LEDs,
// three reset buttons, the load's retries) is its table row.
#include "mouse/FamilyEPage.h"
#include "records/IbisConfig.h"

namespace mouse {

class CDialogMouseIbisSetting final : public FamilyEPage<IbisConfig> {
  public:
    explicit CDialogMouseIbisSetting(ui::WindowImplBase& owner);

  protected:
    bool EditKey(KeySlot& slot) override;
};

}  // namespace mouse
