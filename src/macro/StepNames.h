#pragma once
// The words of step texts that come from layers above the macros: key names (the key code tables)
// and modifier names (fixed per page kind, or the current language's on the Egret folder page).
#include <functional>
#include <map>
#include <string>

struct StepNames {
    // Name of a key code; when unset or empty, the code is shown in hex.
    std::function<std::string(int keyCode)> keyName;
    // Names by modifier bit (0x01, 0x02, 0x04, 0x08, 0x80).
    std::map<int, std::string> modifierNames;

    // File pages of every model: "Control", "Shift", "Menu", "LWin", "RWin".
    static StepNames FilePage();
    // Folder pages of the Heron family, Ibis and Crane: "Alt" instead of "Menu".
    static StepNames FolderPage();
};
