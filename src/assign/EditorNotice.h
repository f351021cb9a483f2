#pragma once
// The message box of the button assignment editors: the program's message box skin
// ("XML/MessageBox.xml", window class "MessageBox"), run modally over the editor's owner. The
// editors sit below the application layer that owns the shared message box, so they show the
// same window themselves.
#include <string>

#include "ui/core/Window.h"

namespace assign {

class EditorNotice final : public ui::WindowImplBase {
  public:
    EditorNotice(ui::WindowImplBase* owner, std::string text);
    // Shows `text` (resolved) over `owner`; true for OK.
    static bool Show(ui::WindowImplBase* owner, const std::string& text);

    std::string GetWindowClassName() const override { return "MessageBox"; }
    std::string GetSkinFile() const override { return "XML/MessageBox.xml"; }
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;

  private:
    ui::WindowImplBase* owner_;
    std::string text_;
};

}  // namespace assign
