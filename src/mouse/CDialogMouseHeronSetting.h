#pragma once
// The Heron mouse reached directly: the family-H design over `HeronConfig`, with the Heron's own
// groups — ten fire macros, its lighting (mode, lights on or off, all or half, speed) and the three
// press types written to the library — and its fire-macro panel, whose changes reach the mouse at
// once (operation 4).
#include <functional>

#include "assign/FireKeyEdit_Heron.h"
#include "mouse/FamilyHPage.h"
#include "mouse/LightingEditor.h"
#include "records/HeronConfig.h"

namespace mouse {

class CDialogMouseHeronSetting final : public FamilyHPage<HeronConfig> {
  public:
    explicit CDialogMouseHeronSetting(ui::WindowImplBase& owner);

    // For the fire-macro panel: it changed the fire slots of the library's image; they go to the
    // mouse now, and nothing is left pending for them.
    void SendFireData() { RequestOperation(kOpFireData); }

  protected:
    void ReadAfterKeys(HeronConfig& c) override;
    void ReadAfterStages(HeronConfig& c) override;
    void ShowLighting() override;
    bool HandleLighting(ui::Notification& n) override;
    bool SetPressTypes() override;
    bool SetOwnGroups() override;
    bool WriteOwn(const HeronConfig& copy, WriteGroup group) override;
    bool EditKey(KeySlot& slot) override;
    std::unique_ptr<ui::Control> CreateFireKeyPanel() override;
    void FireKeysShown() override;
    void ReadTaken() override;

  private:
    LightingFields Lighting();

    LightingEditor lighting_;
    assign::FireKeyEdit_Heron* firePanel_ = nullptr;  // owned by the page's tree
};

}  // namespace mouse
