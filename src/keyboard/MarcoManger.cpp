#include "keyboard/MarcoManger.h"

#include "macro/MacroFilePage.h"
#include "macro/MacroPageSpec.h"
#include "platform/Trace.h"
#include "ui/builder/AttributeParsers.h"

namespace keyboard {
namespace {

constexpr const char* kPageClass = "MacroSettingFilePage";

// The shared file page; every change it writes is also reported to the keyboard page.
class KeyboardMacroPage final : public MacroFilePage {
  public:
    KeyboardMacroPage(ui::WindowImplBase& owner, std::function<void()> changed)
        : MacroFilePage(owner, KeyboardPageSpec()), changed_(std::move(changed)) {}

  protected:
    void SaveSelectedMacro() override {
        MacroFilePage::SaveSelectedMacro();
        if (changed_) changed_();
    }

  private:
    std::function<void()> changed_;
};

}  // namespace

MarcoManger::MarcoManger(ui::WindowImplBase& owner, std::function<void()> changed)
    : owner_(owner), changed_(std::move(changed)) {}

MarcoManger::~MarcoManger() = default;

bool MarcoManger::Open() {
    ui::WindowStyle style;
    style.popup = true;
    style.toolWindow = true;
    if (!Create(&owner_, GetWindowClassName(), style, {})) return false;
    CenterWindow();
    ShowWindow(true, true);
    return true;
}

std::unique_ptr<ui::Control> MarcoManger::CreateControl(std::string_view className) {
    if (!ui::EqualsNoCase(className, kPageClass)) return nullptr;
    auto page = std::make_unique<KeyboardMacroPage>(*this, changed_);
    page_ = page.get();
    return page;
}

void MarcoManger::InitWindow() {
    SizeToSkinAndCenter();
}

void MarcoManger::Reload() {
    if (page_ && IsOpen()) page_->Reload();
}

void MarcoManger::Notify(ui::Notification& n) {
    if (!n.sender || n.type != "click") return;
    platform::Trace(n.sender->GetName() + "-" + n.type + ";");
    if (n.sender->NameIs("okbtn") || n.sender->NameIs("cancelbtn") || n.sender->NameIs("closebtn")) Close(1);
}

}  // namespace keyboard
