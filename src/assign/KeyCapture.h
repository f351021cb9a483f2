#pragma once
// What the key editors' keyboard capture makes of key presses: one key, or two keys pressed within
// 500 ms of each other (the first in bits 8 to 15, the second in bits 0 to 7), with the text the
// editor shows for them. Modifier keys are never captured; the modifier check boxes stand for them.
#include <cstdint>
#include <string>
#include <string_view>

namespace assign {

class KeyCapture {
  public:
    static constexpr uint64_t kCombinationMs = 500;

    // `combinations` clear: every press starts anew.
    explicit KeyCapture(bool combinations = true) : combinations_(combinations) {}

    // A key-down of virtual key `vk` at `nowMs`; false when the key is a modifier or has no key code
    // and was ignored.
    bool Press(uint32_t vk, uint64_t nowMs);
    // Starts from an existing code: `keys` as Captured() holds them.
    void Preset(uint32_t keys, std::string text);

    uint32_t Captured() const { return captured_; }
    // The keys' names without modifier prefixes ("A", "A+B").
    const std::string& KeyText() const { return text_; }

    // Prefixes "Ctrl+", then "Alt+", "Shift+", "Win+", each in front of what is built so far.
    static std::string WithModifiers(std::string text, bool ctrl, bool alt, bool shift, bool win);
    // The text after a modifier box showing `word` changed; `wasChecked` is its state before.
    static std::string EditModifierText(std::string text, std::string_view word, bool wasChecked);

  private:
    bool combinations_;
    uint32_t captured_ = 0;
    uint64_t lastKeyTime_ = 0;
    bool pending_ = false;  // a single key waits for a second one
    std::string text_;
};

}  // namespace assign
