#pragma once
// Base of the five mouse pages: a container built from the model's page skin, owned by the main
// window's control tree, disabled until its mouse answers. Model differences are data.
#include <string>

#include "device/DeviceTaskPage.h"
#include "device/EntryPoint.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"

namespace mouse {

struct MouseModel {
    const char* suffix;    // "Egret", "Heron_Driver", ...
    const char* skinFile;  // "XML/MousePage_Egret.xml"
    DeviceModel model;
    EntryPoint open;       // InitMCUDevice_<suffix>
    const char* connectionError;  // the notification telling the page its mouse is gone
};

class MousePage : public ui::SkinPage, public DeviceTaskPage {
public:
    MousePage(ui::WindowImplBase& owner, const MouseModel& model);
    const MouseModel& Model() const { return model_; }
    ui::WindowImplBase& Owner() const { return owner_; }

    DeviceModel TaskModel() const override { return model_.model; }
    bool IsConnected() const override { return connected_; }
    std::unique_ptr<PageWork> ReadDevice() override;
    // TODO: each operation writes its part of the record once the page's editors exist.
    std::unique_ptr<PageWork> Perform(int operation) override;
    std::unique_ptr<PageWork> Reopen() override;

protected:
    void SetConnected(bool connected);
    // The device open with this model's arguments, then (for a read) the device image; runs on
    // the worker.
    bool Open(bool readImage) const;

private:
    void OnNotify(ui::Notification& n);
    ui::WindowImplBase& owner_;
    const MouseModel& model_;
    bool connected_ = false;
    ui::ListenerHandle listener_;
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
