// The desktop side of the pointer settings on Linux: GNOME's mouse settings through GSettings when
// their schema is installed, and the X server's pointer acceleration where a display answers.
#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/PointerSettingsStore.h"

#ifdef OAKRIDGE_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace platform {
namespace {

constexpr const char* kMouseSchema = "org.gnome.desktop.peripherals.mouse";

// GNOME's mouse settings, or null when the schema (or one of its keys) is not installed; a missing
// schema must never reach g_settings_new, which aborts on it.
GSettings* GnomeMouse(const char* key) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source) return nullptr;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, kMouseSchema, TRUE);
    if (!schema) return nullptr;
    GSettings* settings = nullptr;
    if (g_settings_schema_has_key(schema, key)) settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return settings;
}

void Done(GSettings* settings, bool wrote) {
    if (wrote) g_settings_sync();
    g_object_unref(settings);
}

#ifdef OAKRIDGE_HAVE_X11
Display* OpenDisplay() {
    const char* name = std::getenv("DISPLAY");
    return name && *name ? XOpenDisplay(nullptr) : nullptr;
}
#endif

class SystemPointerDesktop final : public PointerDesktop {
  public:
    bool GetAcceleration(bool& on) override {
        if (GSettings* s = GnomeMouse("accel-profile")) {
            gchar* profile = g_settings_get_string(s, "accel-profile");
            on = g_strcmp0(profile, "flat") != 0;  // "default" is the adaptive curve
            g_free(profile);
            Done(s, false);
            return true;
        }
#ifdef OAKRIDGE_HAVE_X11
        if (Display* display = OpenDisplay()) {
            int numerator = 1, denominator = 1, threshold = 0;
            XGetPointerControl(display, &numerator, &denominator, &threshold);
            XCloseDisplay(display);
            on = denominator > 0 && numerator > denominator;
            return true;
        }
#endif
        return false;
    }

    bool SetAcceleration(bool on) override {
        bool taken = false;
        if (GSettings* s = GnomeMouse("accel-profile")) {
            taken = g_settings_set_string(s, "accel-profile", on ? "adaptive" : "flat");
            Done(s, taken);
        }
#ifdef OAKRIDGE_HAVE_X11
        if (Display* display = OpenDisplay()) {
            // Windows' enhanced precision doubles the speed past the first threshold.
            XChangePointerControl(display, True, True, on ? 2 : 1, 1, on ? 6 : 0);
            XSync(display, False);
            XCloseDisplay(display);
            taken = true;
        }
#endif
        return taken;
    }

    // Windows speed 1 to 20 (10 is neutral) against GNOME's -1 to 1 (0 is neutral).
    bool GetSpeed(int& speed) override {
        GSettings* s = GnomeMouse("speed");
        if (!s) return false;
        double value = g_settings_get_double(s, "speed");
        Done(s, false);
        speed = std::clamp(static_cast<int>(std::lround(value * 10.0 + 10.0)), 1, 20);
        return true;
    }

    bool SetSpeed(int speed) override {
        GSettings* s = GnomeMouse("speed");
        if (!s) return false;
        bool taken = g_settings_set_double(s, "speed", std::clamp((speed - 10) / 10.0, -1.0, 1.0));
        Done(s, taken);
        return taken;
    }

    bool SetDoubleClickTime(int ms) override {
        GSettings* s = GnomeMouse("double-click");
        if (!s) return false;
        bool taken = g_settings_set_int(s, "double-click", ms);
        Done(s, taken);
        return taken;
    }

    // No desktop setting of ours takes the wheel's lines; they stay in the settings file.
    bool SetWheelScrollLines(int) override {
        return false;
    }
};

}  // namespace

std::unique_ptr<PointerDesktop> MakeSystemPointerDesktop() {
    return std::make_unique<SystemPointerDesktop>();
}

}  // namespace platform
