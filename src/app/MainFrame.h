#pragma once
// The main window: the device chooser, the tab of six device pages, the language choosers, and the
// window messages that device tasks and other processes post to it.
#include <array>
#include <string>

#include "ui/core/Window.h"

namespace ui {
class Control;
class Option;
}  // namespace ui

namespace app {

class MainFrame final : public ui::WindowImplBase {
public:
    static constexpr const char* kClassName = "Oakridge";
    // Window messages other threads and processes may post (device tasks, device notifications).
    static bool AcceptsPostedMessage(uint32_t message);

    MainFrame();
    ~MainFrame() override;

    // Creates the 1310 x 749 window; false when the main skin could not be built.
    bool Open();

    std::string GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFolder() const override { return "res/Skin/"; }
    std::string GetSkinFile() const override { return "XML/main_frame.xml"; }
    std::unique_ptr<ui::Control> CreateControl(std::string_view className) override;
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;
    void OnFinalMessage() override;

    // Pages in device order: keyboard, Heron, Heron driver, Egret, Ibis, Crane.
    enum PageIndex { kKeyboard, kHeron, kHeronDriver, kEgret, kIbis, kCrane, kPageCount };
    ui::Control* Page(PageIndex index) const { return pages_[index]; }

    // Loads a language file, retitles the window, refreshes the modifier key names and redraws.
    void ApplyLanguage(const std::string& fileName);

private:
    void SwitchLanguageByOption(ui::Option& option);
    void SwitchLanguageByCombo();
    // The "language_%d" option `control` is, or null.
    ui::Option* LanguageOption(ui::Control* control) const;
    int LanguageOptionCount() const;
    void ShowDevicePage();
    void ReadSkinDeviceIds();

    std::array<ui::Control*, kPageCount> pages_{};
    ui::WindowImplBase* progressWindow_ = nullptr;
};

}  // namespace app
