#pragma once
// Shows one child at a time; the others are hidden. Selecting can raise "tabselect" (wParam the
// new index, lParam the old one).
#include "ui/core/Container.h"

namespace ui {

class TabLayout : public Container {
  public:
    std::string_view GetClass() const override { return "TabLayout"; }
    int GetCurSel() const { return current_; }
    bool SelectItem(int index, Notify notify = Notify::Yes);
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoInit() override;
    void SetPos(const Rect& rect) override;

  private:
    void ApplyVisibility();
    int current_ = 0;
};

}  // namespace ui
