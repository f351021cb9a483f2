#pragma once
// The keyboard's key editor: a modal window that gives one entry of the keyboard's key tables a
// key, a two-key or modifier combination captured from the keyboard, a keyboard macro, a
// multimedia function, or its default. Opened on a Fn entry it can switch to any of "FN_1" to
// "FN_12". The choice changes only `KeyboardConfig`; the page writes it when the user asks.
#include <string>

#include "assign/KeyCapture.h"
#include "records/KeyboardConfig.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Window.h"

namespace keyboard {

class KeyEdit final : public ui::WindowImplBase {
  public:
    // What OK applies.
    enum Mode { kNone = -1, kKey = 0, kMacro = 1, kMultimedia = 2, kReset = 3, kCombination = 4 };

    // `entry` names a key of the current profile's main table, or with `fn` its Fn table.
    KeyEdit(ui::WindowImplBase* owner, KeyboardConfig& config, std::string entry, bool fn);
    ~KeyEdit() override;

    // Runs modally over the owner and applies the choice on OK or Reset; true exactly then.
    bool RunModal();
    // Whether the apply changed the record.
    bool Changed() const { return changed_; }

    std::string GetWindowClassName() const override { return "KeyEdit"; }
    std::string GetSkinFile() const override { return "XML/KeyEdit.xml"; }
    void InitWindow() override;
    void Notify(ui::Notification& notification) override;

    int GetMode() const { return mode_; }
    const std::string& Entry() const { return entry_; }
    bool HookInstalled() const { return hooked_; }

  private:
    KeyboardKey* Key();
    void SetMode(int mode);
    void ShowCurrent();
    void Preselect();
    void FillLists();
    void InstallHook();
    void RemoveHook();
    void OnKey(uint32_t message, uint32_t vk);
    uint8_t Modifiers() const;
    void ShowCaptured();
    void Apply();

    ui::WindowImplBase* owner_;
    KeyboardConfig& config_;
    std::string entry_;
    bool fn_;
    int mode_ = kNone;
    bool changed_ = false;
    assign::KeyCapture capture_{true};
    ui::ListenerHandle hook_;
    bool hooked_ = false;
};

}  // namespace keyboard
