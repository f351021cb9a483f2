#pragma once
// The macro pages' entry dialog, one pattern for every model ("MarcoEdit_<model>"): asks for a
// name (modes 0 and 1), confirms a deletion (2), captures a key on its release (3), asks for a
// movement (5: X and Y; 7 and 8: one axis) or a delay (6). Runs modally over its owner; the
// answers stay readable after it closed.
#include <string>

#include "macro/MacroPageSpec.h"
#include "ui/core/Window.h"

class MarcoEditDialog : public ui::WindowImplBase {
  public:
    enum Mode {
        kNewName = 0,
        kRename = 1,
        kConfirm = 2,
        kKey = 3,
        kMove = 5,
        kDelay = 6,
        kMoveX = 7,
        kMoveY = 8
    };
    static constexpr int kMoveMin = -128;
    static constexpr int kMoveMax = 127;

    MarcoEditDialog(const MarcoEditSpec& spec, int mode);
    ~MarcoEditDialog() override;

    // Text the asked field starts with (the current name when renaming; mode 8: the second field).
    void SetInitialValue(std::string text) { initial_ = std::move(text); }
    // Runs over `owner`; true when the user pressed OK.
    bool Run(ui::WindowImplBase& owner);

    const std::string& Value() const { return value_; }
    const std::string& Value2() const { return value2_; }
    // Mode 3: the captured key code (0 when none); modes 5 and 7: the first field's number; mode 8
    // the second's; mode 6 the delay.
    int Number() const;
    int Mode() const { return mode_; }

    // The decimal value of `text`, 0 when it is not a number; saturates instead of overflowing.
    static long long ReadNumber(const std::string& text);
    // `text` kept within [min, max]: the limit's text when outside, otherwise unchanged.
    static std::string KeepInRange(const std::string& text, int min, int max);

    std::string GetWindowClassName() const override { return spec_.className; }
    std::string GetSkinFile() const override { return spec_.skinFile; }
    void InitWindow() override;
    void Notify(ui::Notification& n) override;
    intptr_t HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) override;
    void OnFinalMessage() override;

  private:
    void ShowFor(int mode);
    void OnKeyHook(uint32_t message, uint32_t vk);
    void Finish(bool ok);
    void KeepField(const std::string& field, int min, int max, bool signedNumber);

    const MarcoEditSpec& spec_;
    int mode_;
    int keyCode_ = 0;
    std::string initial_;
    std::string value_;
    std::string value2_;
    ui::ListenerHandle keyHook_;
};
