#pragma once
// The Plover keyboard's page: built from its page skin, disabled until the keyboard answers.
#include "device/DeviceTaskPage.h"
#include "records/KeyboardConfig.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"

namespace keyboard {

class CDialogKeySetting final : public ui::SkinPage, public DeviceTaskPage {
  public:
    static constexpr DeviceModel kModel = KeyboardConfig::kModel;

    explicit CDialogKeySetting(ui::WindowImplBase& owner);
    ui::WindowImplBase& Owner() const { return owner_; }

    DeviceModel TaskModel() const override { return kModel; }
    bool IsConnected() const override { return connected_; }
    std::unique_ptr<PageWork> ReadDevice() override;
    std::unique_ptr<PageWork> Reopen() override;

  protected:
    // TODO: the keyboard write (key tables, lighting, macros) once the keyboard page's editors exist.
    std::unique_ptr<PageWork> PrepareWrite(int operation) override;

  private:
    void SetConnected(bool connected);
    static bool Open();
    ui::WindowImplBase& owner_;
    bool connected_ = false;
    ui::ListenerHandle listener_;
};

}  // namespace keyboard
