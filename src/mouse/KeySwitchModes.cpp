#include "mouse/KeySwitchModes.h"

namespace mouse {
namespace {

bool Starts(const KeySlot& key, uint8_t b0, uint8_t b1) {
    return key.code[0] == b0 && key.code[1] == b1;
}

template <class F>
void ForEachKey(CraneConfig& config, F&& f) {
    for (size_t p = 0; p < config.keyLists.size() && p < 2; ++p)
        for (KeySlot& key : config.keyLists[p]) f(key);
}

template <class F>
void ForEachKey(const CraneConfig& config, F&& f) {
    for (size_t p = 0; p < config.keyLists.size() && p < 2; ++p)
        for (const KeySlot& key : config.keyLists[p]) f(key);
}

}  // namespace

void KeySwitchModes::Apply(CraneConfig& c, KeySwitchBoxes& boxes) {
    uint8_t backMode = 0, middleMode = 0, forwardMode = 0, cpiMode = 0, extraMode = 0;
    if (boxes.backLight) {
        boxes.back = boxes.forward = false;
        backMode = 2;
        c.comboBlockA = kBackLight;
    }
    if (boxes.middle) {
        middleMode = extraMode = 8;
        c.comboBlockA = kOff;
        c.comboBlockB = kActive;
    }
    if (boxes.cpi || boxes.cpiUp || boxes.cpiDown) {
        cpiMode = extraMode = 8;
        c.comboBlockA = kOff;
        c.comboBlockB = kActive;
    }
    if (boxes.back || boxes.forward) {
        boxes.backLight = false;
        if (boxes.back) backMode = 2;
        if (boxes.forward) forwardMode = 2;
        extraMode = 2;
        c.comboBlockB = kOff;
        c.comboBlockA = kActive;
    }
    // The back keys take the back mode as it ends up, whichever box set it.
    ForEachKey(c, [&](KeySlot& key) {
        if (Starts(key, 1, 4))
            key.code[3] = middleMode;
        else if (Starts(key, 1, 8))
            key.code[3] = backMode;
        else if (Starts(key, 1, 16))
            key.code[3] = forwardMode;
        else if (key.code[0] == 9)
            key.code[3] = cpiMode;
        else if (key.code[0] == 11)
            key.code[3] = extraMode;
    });
}

KeySwitchBoxes KeySwitchModes::Shown(const CraneConfig& c) {
    KeySwitchBoxes shown;
    const bool a = IsActive(c.comboBlockA), b = IsActive(c.comboBlockB);
    ForEachKey(c, [&](const KeySlot& key) {
        const uint8_t mode = key.code[3];
        if (Starts(key, 1, 8) && mode == 2) {
            shown.backLight = shown.backLight || c.comboBlockA[0] == 14;
            shown.back = shown.back || a;
        }
        if (Starts(key, 1, 16) && mode == 2) shown.forward = shown.forward || a;
        if (Starts(key, 1, 4) && mode == 8) shown.middle = shown.middle || b;
        if (key.code[0] == 9 && mode == 8 && b) {
            shown.cpi = shown.cpi || key.code[1] == 0;
            shown.cpiUp = shown.cpiUp || key.code[1] == 1;
            shown.cpiDown = shown.cpiDown || key.code[1] == 2;
        }
        if (key.code[0] == 11 && mode != 0) shown.gun = shown.gun || a || b;
    });
    return shown;
}

}  // namespace mouse
