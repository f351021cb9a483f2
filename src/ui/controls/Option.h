#pragma once
// Toggle button. In a group exactly one option is selected and only the newly selected one
// reports "selectchanged"; without a group it toggles. A click reports "click" first, then the
// state changes.
#include "ui/controls/Button.h"

namespace ui {

class Option : public Button {
  public:
    std::string_view GetClass() const override { return "Option"; }
    const std::string& GetGroup() const { return group_; }
    void SetGroup(std::string group) { group_ = std::move(group); }
    bool IsSelected() const { return selected_; }
    void SetSelected(bool selected, Notify notify = Notify::Yes);
    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    bool Activate() override;
    void DoInit() override;

  protected:
    void PaintBkColor(Canvas& canvas) override;
    void PaintStatusImage(Canvas& canvas) override;
    void PaintText(Canvas& canvas) override;

  private:
    std::string group_;
    bool selected_ = false;
    Color selectedTextColor_ = 0;
    Color selectedBkColor_ = 0;
};

class CheckBox : public Option {
  public:
    std::string_view GetClass() const override { return "CheckBox"; }
    bool IsChecked() const { return IsSelected(); }
    void SetCheck(bool checked, Notify notify = Notify::Yes) { SetSelected(checked, notify); }
};

}  // namespace ui
