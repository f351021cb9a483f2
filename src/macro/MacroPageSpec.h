#pragma once
// What differs between the macro pages of the models, as data: control suffix, skins, encoding,
// limits, loop options, step words and the entry dialog. The file and folder pages and the entry
// dialog are one pattern each, instantiated with one of these.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "macro/LoopSettings.h"
#include "records/DeviceModel.h"

// The model's entry dialog ("MarcoEdit_<model>").
struct MarcoEditSpec {
    const char* className;  // "MarcoEdit_Egret"
    const char* skinFile;   // "XML/MarcoEdit_Egret.xml"
    const char* suffix;     // control suffix, "Egret"; empty for bare names
    int nameChars;          // modes 0 and 1
    int delayMax;           // mode 6

    std::string Name(std::string_view base) const {
        return *suffix ? std::string(base) + "_" + suffix : std::string(base);
    }
};

struct LoopOption {
    const char* control;  // base name, "circle_all"
    LoopMode mode;
};

// An option of the Heron family's end mode, stop or continue: the macro's first data byte.
struct EndOption {
    const char* control;  // base name, "circle_stop"
    EndMode mode;
};

// Words for modifier steps: the fixed English words of a page kind, or the language's texts.
enum class ModifierWords { FilePage, FolderPage, Language };

struct ButtonTags {
    int press;
    int release;
};

struct MacroPageSpec {
    DeviceModel model;
    const char* suffix;                   // "Egret"
    const char* fileSkin;                 // "XML/MarcoManagerFile_Egret.xml"
    const char* folderSkin;               // "XML/MarcoManagerFolder_Egret.xml"
    int delayFieldMax;                    // largest number the delay field takes
    int delayFieldUnit;                   // milliseconds per unit of the delay field
    int countMax;                         // largest loop count
    int recordSpace;                      // bytes FitsInMacro must still find for a recorded event
    int clickDelayMs;                     // delay inside an inserted click
    std::vector<LoopOption> loopOptions;  // the first is the count option
    ModifierWords fileWords;
    ModifierWords folderWords;
    int keyPressTag;
    int keyReleaseTag;
    int modifierPressTag;
    int modifierReleaseTag;
    int moveTag;
    // Left, right, middle, button 4, button 5.
    std::array<ButtonTags, 5> buttons;
    const MarcoEditSpec& edit;
    // The macro list and the step list, by the names of this model's skin.
    const char* macroListName = "Marco_Info_list";
    const char* stepListName = "Marco_Content_list";
    // A recorded pause is stored divided by this.
    int recordedDelayDivisor = 1;
    // Every key, modifiers included, records as a key step with its key code.
    bool modifiersAsKeys = false;
    // Step values of the buttons (left, right, middle, 4, 5); 0: the tag itself.
    std::array<int, 5> buttonValues{};
    // An inserted movement is an X row of `moveTag` and a Y row of `moveYTag` instead of one packed
    // step.
    bool moveRows = false;
    int moveYTag = 0;
    // Bytes FitsInMacro must still find before the insert combo asks what to insert.
    int insertSpace = 3;
    // End-mode options beside the loop options; none where the encoding has no end mode.
    std::vector<EndOption> endOptions{};

    // The control `base` of this model's pages; an empty suffix leaves names bare.
    std::string Name(std::string_view base) const {
        if (base == "Marco_Info_list") base = macroListName;
        if (base == "Marco_Content_list") base = stepListName;
        return *suffix ? std::string(base) + "_" + suffix : std::string(base);
    }
    int PressValue(size_t button) const {
        return buttonValues[button] ? buttonValues[button] : buttons[button].press;
    }
    int ReleaseValue(size_t button) const {
        return buttonValues[button] ? buttonValues[button] : buttons[button].release;
    }
};

const MarcoEditSpec& EgretEditSpec();
const MarcoEditSpec& IbisEditSpec();
const MacroPageSpec& EgretPageSpec();
const MacroPageSpec& IbisPageSpec();
const MarcoEditSpec& CraneEditSpec();
const MacroPageSpec& CranePageSpec();
const MarcoEditSpec& HeronEditSpec();
const MacroPageSpec& HeronPageSpec();
const MarcoEditSpec& HeronDriverEditSpec();
const MacroPageSpec& HeronDriverPageSpec();
// The keyboard's macro window and its entry dialog ("MarcoEdit"), with bare control names.
const MarcoEditSpec& KeyboardEditSpec();
const MacroPageSpec& KeyboardPageSpec();
