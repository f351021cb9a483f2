#pragma once
// A control with children. The plain container gives every non-floating child its whole client
// area (less padding), honouring fixed sizes; the layouts arrange them in rows or columns.
#include <memory>
#include <vector>

#include "ui/core/Control.h"

namespace ui {

class Container : public Control {
  public:
    std::string_view GetClass() const override { return "Container"; }

    int GetCount() const { return static_cast<int>(items_.size()); }
    Control* GetItemAt(int index) const;
    int GetItemIndex(const Control* control) const;
    Control* Add(std::unique_ptr<Control> control);
    Control* AddAt(std::unique_ptr<Control> control, int index);
    // Removes and deletes (after the running dispatch, if any).
    bool Remove(Control* control);
    bool RemoveAt(int index);
    void RemoveAll();
    // Removes without deleting; the caller takes ownership.
    std::unique_ptr<Control> Release(Control* control);

    const Rect& GetInset() const { return inset_; }
    void SetInset(const Rect& inset);
    int GetChildPadding() const { return childPadding_; }
    void SetChildPadding(int padding);

    void SetManager(PaintManager* manager, Container* parent) override;
    void SetPos(const Rect& rect) override;
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    Control* FindControlAt(Point pt) override;

  protected:
    void DoPaint(Canvas& canvas, const Rect& dirty) override;
    // Whether hit-testing descends into the children (a combo box keeps its items to itself).
    virtual bool HitTestChildren() const { return true; }
    virtual bool PaintChildren() const { return true; }
    // Places floating children relative to this control's position.
    void PlaceFloating(Control* child);
    // Clamps a stretch/fixed size against the child's minimum and maximum.
    static int ClampWidth(const Control* c, int cx);
    static int ClampHeight(const Control* c, int cy);

    std::vector<std::unique_ptr<Control>> items_;
    Rect inset_;
    int childPadding_ = 0;
};

}  // namespace ui
