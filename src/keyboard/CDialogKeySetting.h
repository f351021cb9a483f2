#pragma once
// The Plover keyboard's page: built from its page skin, disabled until the keyboard answers.
#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"

namespace keyboard {

class CDialogKeySetting final : public ui::SkinPage {
public:
    explicit CDialogKeySetting(ui::WindowImplBase& owner);
    ui::WindowImplBase& Owner() const { return owner_; }
    bool IsConnected() const { return connected_; }

private:
    void SetConnected(bool connected);
    ui::WindowImplBase& owner_;
    bool connected_ = false;
};

}  // namespace keyboard
