#pragma once
// The busy window shown while a device task runs. It has no buttons and refuses to be closed; it
// closes itself (result 2), before returning, when it receives message 1002. Its opener owns it.
#include <memory>

#include "ui/core/Window.h"

namespace app {

class ReadProgress final : public ui::WindowImplBase {
  public:
    // Creates and shows the window over `owner`; a tool window when `toolWindow` is set.
    static std::unique_ptr<ReadProgress> Open(ui::WindowImplBase& owner, bool toolWindow);

    std::string GetWindowClassName() const override { return "ReadProgress"; }
    std::string GetSkinFile() const override { return "XML/ProgressBox.xml"; }
    void InitWindow() override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;

  private:
    ReadProgress() = default;
    bool finished_ = false;
};

}  // namespace app
