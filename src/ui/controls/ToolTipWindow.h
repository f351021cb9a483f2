#pragma once
// The hint shown beside the pointer when it rests on a control that has a tooltip: a small window
// that never takes the focus, in the look the owner's skin gives the "ToolTip" default attribute
// list (the palette's panel colours without one).
#include <memory>
#include <string>

#include "ui/core/Window.h"

namespace ui {

class ToolTipWindow final : public WindowImplBase {
  public:
    static constexpr const char* kClassName = "ToolTip";
    // Widest a tooltip grows before its text wraps.
    static constexpr int kMaxWidth = 340;

    // `text` is resolved; `at` is the pointer in screen coordinates.
    ToolTipWindow(WindowImplBase& owner, std::string text, Point at);
    // Creates and shows the window without taking the focus; false when it could not.
    bool Open();
    const std::string& GetTipText() const { return text_; }

    std::string GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFile() const override { return {}; }
    std::unique_ptr<Control> CreateRootInCode() override;

  private:
    WindowImplBase& owner_;
    std::string text_;
    Point at_;
};

}  // namespace ui
