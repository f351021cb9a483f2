#pragma once
// Children in one column (VerticalLayout) or one row (HorizontalLayout): fixed sizes first, the
// rest shared by the children without a size. Floating children keep their own positions.
#include "ui/core/Container.h"

namespace ui {

class LinearLayout : public Container {
  public:
    enum class Orientation { Vertical, Horizontal };
    explicit LinearLayout(Orientation orientation) : orientation_(orientation) {}
    void SetPos(const Rect& rect) override;

  private:
    Orientation orientation_;
};

class VerticalLayout : public LinearLayout {
  public:
    VerticalLayout() : LinearLayout(Orientation::Vertical) {}
    std::string_view GetClass() const override { return "VerticalLayout"; }
};

class HorizontalLayout : public LinearLayout {
  public:
    HorizontalLayout() : LinearLayout(Orientation::Horizontal) {}
    std::string_view GetClass() const override { return "HorizontalLayout"; }
};

}  // namespace ui
