#include "assign/KeyCapture.h"

#include "assign/KeyCodes.h"

namespace assign {
namespace {

bool IsModifierKey(uint32_t vk) {
    // Left and right Shift, Ctrl and Alt, and the two Win keys.
    return (vk >= 0xA0 && vk <= 0xA5) || vk == 0x5B || vk == 0x5C;
}

void ReplaceAll(std::string& text, std::string_view what) {
    if (what.empty()) return;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
}

}  // namespace

bool KeyCapture::Press(uint32_t vk, uint64_t nowMs) {
    if (IsModifierKey(vk)) return false;
    const uint8_t code = KeyCodeFromVirtualKey(vk);
    // A key the device has no code for cannot be assigned, nor start a combination.
    if (code == 0) return false;
    // A clock that starts near zero must not make the very first press look like a second key.
    const bool second = combinations_ && pending_ && nowMs - lastKeyTime_ < kCombinationMs;
    if (second) {
        text_ = KeyName(captured_) + "+" + KeyName(code);
        captured_ = (captured_ << 8 | code) & 0xFFFF;
        pending_ = false;  // a third key always starts anew
    } else {
        captured_ = code;
        text_ = KeyName(code);
        pending_ = true;
    }
    lastKeyTime_ = nowMs;
    return true;
}

void KeyCapture::Preset(uint32_t keys, std::string text) {
    captured_ = keys & 0xFFFF;
    text_ = std::move(text);
    pending_ = false;
}

std::string KeyCapture::WithModifiers(std::string text, bool ctrl, bool alt, bool shift, bool win) {
    if (ctrl) text = "Ctrl+" + text;
    if (alt) text = "Alt+" + text;
    if (shift) text = "Shift+" + text;
    if (win) text = "Win+" + text;
    return text;
}

std::string KeyCapture::EditModifierText(std::string text, std::string_view word, bool wasChecked) {
    const std::string withPlus = std::string(word) + "+";
    if (!wasChecked) return text.empty() ? std::string(word) : withPlus + text;
    if (text.find(withPlus) != std::string::npos)
        ReplaceAll(text, withPlus);
    else
        ReplaceAll(text, word);
    return text;
}

}  // namespace assign
