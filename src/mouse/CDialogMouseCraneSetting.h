#pragma once
// The Crane mouse's page: the family-E design over the Crane's record, with two profiles (its row),
// its lighting modes (codes from the skin), its key editor, and two features of its own: the key
// switch modes, written as the library's combo-key blocks, and the macro random time, edited on its
// macro folder page.
#include <memory>

#include "mouse/FamilyEPage.h"
#include "records/CraneConfig.h"

class MarcoManagerFolder_Crane;

namespace mouse {

class CDialogMouseCraneSetting final : public FamilyEPage<CraneConfig> {
  public:
    explicit CDialogMouseCraneSetting(ui::WindowImplBase& owner);

  protected:
    void InitPage() override;
    void ReadOwnFields(CraneConfig& fresh) override;
    bool WriteOwn(const CraneConfig& copy, WriteGroup group, int target) override;
    void RefreshOwn() override;
    bool HandleOwn(ui::Notification& n) override;
    void PrepareOwnWrite(WriteGroup group) override;
    bool EditKey(KeySlot& slot) override;
    std::unique_ptr<MacroManagerPage> CreateMacroPage(bool folder) override;

  private:
    MarcoManagerFolder_Crane* folderPage_ = nullptr;  // owned by the page's tree
};

}  // namespace mouse
