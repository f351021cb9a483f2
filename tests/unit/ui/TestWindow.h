#pragma once
// A window built from an inline skin document, for toolkit tests.
#include <string>

#include "ui/builder/Builder.h"
#include "ui/core/Window.h"

namespace oaktest {

class TestWindow : public ui::WindowImplBase {
  public:
    explicit TestWindow(std::string xml, ui::Builder::Callback callback = nullptr)
        : xml_(std::move(xml)), callback_(std::move(callback)) {}
    std::string GetWindowClassName() const override { return "TestWindow"; }
    std::string GetSkinFile() const override { return {}; }
    std::unique_ptr<ui::Control> CreateRootInCode() override {
        ui::Builder builder;
        auto result = builder.BuildFromString(xml_, "test.xml", GetManager(), callback_);
        report = result.report;
        return std::move(result.root);
    }
    // Creates, shows and lays out the window at 400 x 300 unless the skin says otherwise.
    void Open(ui::Rect rect = {0, 0, 400, 300}) {
        Create(nullptr, "", {}, rect);
        ShowWindow(true, true);
    }
    ui::BuildReport report;

  private:
    std::string xml_;
    ui::Builder::Callback callback_;
};

}  // namespace oaktest
