#pragma once
// Where the desktop pointer settings live: the Windows registry values under HKEY_CURRENT_USER
// (kept in a per-user settings file with the same key and value names) and the
// SystemParametersInfo calls, which reach the desktop where it can take them and fall back to the
// same settings file otherwise. Windows semantics at the interface: pointer speed 1 to 20,
// double-click time in ms, wheel lines with -1 for one screen.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The desktop side of the system calls. Every call returns false when the desktop cannot take or
// give that value, so the caller keeps it in the settings file instead.
class PointerDesktop {
  public:
    virtual ~PointerDesktop() = default;
    virtual bool GetAcceleration(bool& on) = 0;
    virtual bool SetAcceleration(bool on) = 0;
    virtual bool GetSpeed(int& speed) = 0;  // 1 to 20
    virtual bool SetSpeed(int speed) = 0;
    virtual bool SetDoubleClickTime(int ms) = 0;
    virtual bool SetWheelScrollLines(int lines) = 0;
};

// The running desktop: GNOME mouse settings when their schema is installed, the X server's pointer
// acceleration where a display answers; a desktop with neither takes nothing.
std::unique_ptr<PointerDesktop> MakeSystemPointerDesktop();
// Replaces the desktop the calls reach (tests install a fake; null restores the system's).
void SetPointerDesktop(std::shared_ptr<PointerDesktop> desktop);
// The desktop the calls reach now.
std::shared_ptr<PointerDesktop> CurrentPointerDesktop();

class PointerSettingsStore {
  public:
    static constexpr const char* kMouseKey = "Control Panel\\Mouse";
    static constexpr const char* kDesktopKey = "Control Panel\\Desktop";

    // The settings file: UserConfigFolder() + "pointer-settings.ini".
    static std::string FilePath();

    // RegOpenKeyExW + RegQueryValueExW: nullopt when the key or the value is missing.
    static bool KeyExists(const std::string& key);
    static std::optional<std::string> QueryValue(const std::string& key, const std::string& name);
    // RegOpenKeyExW for writing + RegSetValueExW for each value, replacing the file atomically once.
    // False when the file cannot be written (the key "cannot be opened").
    using Values = std::vector<std::pair<std::string, std::string>>;
    static bool SetValues(const std::string& key, const Values& values);
    // The same for several keys, with one replacement of the file.
    static bool SetKeys(const std::vector<std::pair<std::string, Values>>& keys);

    // SystemParametersInfoW.
    static bool GetMouse(std::array<int, 3>& thresholdsAndAcceleration);  // SPI_GETMOUSE
    static bool GetMouseSpeed(int& speed);                                // SPI_GETMOUSESPEED
    static bool SetMouse(const std::array<int, 3>& thresholdsAndAcceleration);
    static bool SetMouseSpeed(int speed);
    static bool SetDoubleClickTime(int ms);
    static bool SetWheelScrollLines(int lines);
};

}  // namespace platform
