#pragma once
// The keyboard's macro window ("MarcoManagerPage"): the shared macro file page over the keyboard's
// macro list, with the keyboard's recording rules, in a pop-up window of its own beside the page.
#include <functional>
#include <memory>

#include "ui/core/Window.h"

class MacroFilePage;

namespace keyboard {

class MarcoManger final : public ui::WindowImplBase {
  public:
    // `changed` runs after every change the window writes to the macro file.
    MarcoManger(ui::WindowImplBase& owner, std::function<void()> changed);
    ~MarcoManger() override;

    // Shows the window centred over its owner, without making it modal.
    bool Open();
    bool IsOpen() const { return HasNativeWindow() && !IsClosed(); }
    void BringToFront() { ShowWindow(true, true); }
    // Fills the macro list again from the store.
    void Reload();
    MacroFilePage* Page() const { return page_; }

    std::string GetWindowClassName() const override { return "MarcoManagerPage"; }
    std::string GetSkinFile() const override { return "XML/MarcoManagerPage.xml"; }
    std::unique_ptr<ui::Control> CreateControl(std::string_view className) override;
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;

  private:
    ui::WindowImplBase& owner_;
    std::function<void()> changed_;
    MacroFilePage* page_ = nullptr;  // owned by the window's tree
};

}  // namespace keyboard
