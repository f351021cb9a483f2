#pragma once
// Base of the five mouse pages: a container built from the model's page skin, owned by the main
// window's control tree, disabled until its mouse answers.
#include <string>

#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"

namespace mouse {

struct MouseModel {
    const char* suffix;    // "Egret", "Heron_Driver", ...
    const char* skinFile;  // "XML/MousePage_Egret.xml"
};

class MousePage : public ui::SkinPage {
public:
    MousePage(ui::WindowImplBase& owner, const MouseModel& model);
    const MouseModel& Model() const { return model_; }
    ui::WindowImplBase& Owner() const { return owner_; }
    bool IsConnected() const { return connected_; }

protected:
    void SetConnected(bool connected);

private:
    ui::WindowImplBase& owner_;
    const MouseModel& model_;
    bool connected_ = false;
};

class CDialogMouseHeronSetting final : public MousePage {
public:
    explicit CDialogMouseHeronSetting(ui::WindowImplBase& owner);
};

class CDialogMouseHeronDriverSetting final : public MousePage {
public:
    explicit CDialogMouseHeronDriverSetting(ui::WindowImplBase& owner);
};

class CDialogMouseEgretSetting final : public MousePage {
public:
    explicit CDialogMouseEgretSetting(ui::WindowImplBase& owner);
};

class CDialogMouseIbisSetting final : public MousePage {
public:
    explicit CDialogMouseIbisSetting(ui::WindowImplBase& owner);
};

class CDialogMouseCraneSetting final : public MousePage {
public:
    explicit CDialogMouseCraneSetting(ui::WindowImplBase& owner);
};

}  // namespace mouse
