#include "ui/backend/gtk/GdkKeys.h"

#include <gdk/gdk.h>

#include "ui/backend/gtk/KeysymVirtualKeys.h"

namespace ui {
namespace {

// The unmodified symbol of the key in the layout group that typed `keyval`; 0 when the keymap cannot
// tell (no display, unknown keycode, a symbol the key does not carry).
unsigned BaseKeyval(unsigned keyval, uint16_t hardwareKeycode) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || hardwareKeycode == 0) return 0;
    GdkKeymapKey* keys = nullptr;
    guint* keyvals = nullptr;
    gint count = 0;
    if (!gdk_keymap_get_entries_for_keycode(gdk_keymap_get_for_display(display), hardwareKeycode, &keys,
                                            &keyvals, &count))
        return 0;
    // The event does not carry its group here; the group whose levels include the typed symbol is it.
    const guint lower = gdk_keyval_to_lower(keyval);
    gint group = -1;
    for (gint i = 0; i < count && group < 0; ++i)
        if (keyvals[i] == keyval || gdk_keyval_to_lower(keyvals[i]) == lower) group = keys[i].group;
    unsigned base = 0;
    for (gint i = 0; i < count && group >= 0; ++i)
        if (keys[i].group == group && keys[i].level == 0) {
            base = keyvals[i];
            break;
        }
    g_free(keys);
    g_free(keyvals);
    return base;
}

}  // namespace

uint32_t VirtualKeyFromGdk(unsigned keyval, uint16_t hardwareKeycode) {
    return VirtualKeyFromKeysym(keyval, BaseKeyval(keyval, hardwareKeycode), hardwareKeycode);
}

}  // namespace ui
