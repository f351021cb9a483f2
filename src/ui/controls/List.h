#pragma once
// Vertical list of rows with one selection: "itemclick" from the row, then "itemselect" from the
// list; a right click reports "menu" with the pointer position. Scrolls with the wheel and keys.
#include "ui/controls/ListItem.h"
#include "ui/core/Container.h"

namespace ui {

class List : public Container, public ListOwner {
  public:
    std::string_view GetClass() const override { return "List"; }
    bool WantsFocus() const override { return true; }
    bool IsInteractive() const override { return true; }

    const ItemStyle& GetItemStyle() const override { return style_; }
    int GetCurSel() const override { return current_; }
    bool SelectItem(int index, Notify notify) override;
    void OnContextMenu(Point pt) override;
    // Scrolls so row `index` is in view; before the list has a size, once it has one.
    void EnsureVisible(int index);
    int GetScrollPos() const { return scroll_; }
    void SetScrollPos(int pos);
    int GetContentHeight() const;

    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void SetPos(const Rect& rect) override;
    void DoEvent(UiEvent& event) override;

  protected:
    void DoPaint(Canvas& canvas, const Rect& dirty) override;

  private:
    ItemStyle style_;
    int ScrollToShow(int index) const;
    int current_ = -1;
    int pendingVisible_ = -1;
    int scroll_ = 0;
    Color scrollThumbColor_ = 0x80FFFFFFu;
};

}  // namespace ui
