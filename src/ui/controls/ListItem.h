#pragma once
// Rows of lists and combo boxes. The owner (List or Combo) supplies the row style, so every row
// of one owner looks alike and the skin sets it once with item* attributes.
#include <string>

#include "ui/core/Control.h"

namespace ui {

class Canvas;
class PaintManager;

struct ItemStyle {
    int font = -1;
    int height = 32;
    Color textColor = 0;
    Color hotTextColor = 0;
    Color selectedTextColor = 0;
    Color disabledTextColor = 0;
    Color hotBkColor = 0;
    Color selectedBkColor = 0;
    std::string hotImage;
    std::string selectedImage;
    Rect textPadding{8, 0, 8, 0};
    unsigned align = kAlignLeft | kAlignVCenter | kAlignSingleLine | kAlignEndEllipsis;
    bool showHtml = false;

    // Handles the item* attributes; Unknown for anything else.
    AttrResult SetAttribute(std::string_view name, std::string_view value);
};

class ListLabelElement;

class ListOwner {
  public:
    virtual ~ListOwner() = default;
    virtual const ItemStyle& GetItemStyle() const = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int index, Notify notify) = 0;
    // Right button released over a row or the owner's empty area.
    virtual void OnContextMenu(Point pt) {}
};

// Draws one row: background by state, then the text (with markup when the style asks for it).
void PaintListRow(Canvas& canvas, PaintManager& manager, const ItemStyle& style, const Rect& rect,
                  const std::string& resolvedText, bool selected, bool hot, bool enabled, Color fallbackText);

class ListLabelElement : public Control {
  public:
    std::string_view GetClass() const override { return "ListLabelElement"; }
    bool IsInteractive() const override { return true; }
    ListOwner* GetOwner() const;
    int GetIndex() const;
    bool IsSelected() const;
    Size EstimateSize(Size available) const override;
    void DoEvent(UiEvent& event) override;

  protected:
    void DoPaint(Canvas& canvas, const Rect& dirty) override;
};

}  // namespace ui
