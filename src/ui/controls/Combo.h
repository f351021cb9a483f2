#pragma once
// Drop-down chooser. Its rows are ListLabelElement children that show in a pop-up window when it
// opens; choosing one raises "itemselect" (wParam the new index, lParam the old one). Up/Down on
// the closed, focused combo move the selection too.
#include <memory>

#include "ui/controls/ListItem.h"
#include "ui/core/Container.h"
#include "ui/core/Window.h"

namespace ui {

class ComboDropWindow;

class Combo : public Container, public ListOwner {
  public:
    Combo();
    ~Combo() override;
    std::string_view GetClass() const override { return "Combo"; }
    bool WantsFocus() const override { return true; }
    bool IsInteractive() const override { return true; }

    const ItemStyle& GetItemStyle() const override { return style_; }
    int GetCurSel() const override { return current_; }
    bool SelectItem(int index, Notify notify) override;
    // Text of the selected row, references unresolved; empty without a selection.
    std::string GetSelectedText() const;
    // Adds a row with `text` and `userData`.
    Control* AddItem(std::string text, std::string userData = {});
    // Replaces the rows with copies of `other`'s (text, user data, name); selection is cleared.
    void CopyItemsFrom(const Combo& other);

    bool IsOpen() const;
    bool Activate() override;  // opens the drop-down
    void CloseDropDown();
    // The open drop-down, for tests and keyboard handling.
    ComboDropWindow* GetDropWindow() const;
    Size GetDropBoxSize() const { return dropBoxSize_; }
    const std::string& GetDropBkImage() const { return dropBkImage_; }
    Color GetDropBkColor() const { return dropBkColor_; }

    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(UiEvent& event) override;
    void SetPos(const Rect& rect) override;

  protected:
    bool HitTestChildren() const override { return false; }
    bool PaintChildren() const override { return false; }
    void PaintStatusImage(Canvas& canvas) override;
    void PaintText(Canvas& canvas) override;

  private:
    friend class ComboDropWindow;
    void OnDropClosed();
    ItemStyle style_;
    int current_ = -1;
    Size dropBoxSize_{0, 320};
    std::string dropBkImage_;
    Color dropBkColor_ = 0xFF1F232Bu;
    std::unique_ptr<ComboDropWindow> drop_;
};

}  // namespace ui
