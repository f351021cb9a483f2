#include "ui/backend/gtk/GdkKeys.h"

#include <gdk/gdkkeysyms.h>

#include "ui/core/VirtualKeys.h"

namespace ui {

uint32_t VirtualKeyFromGdk(unsigned keyval, uint16_t) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return kVkA + (keyval - GDK_KEY_a);
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return kVkA + (keyval - GDK_KEY_A);
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return kVk0 + (keyval - GDK_KEY_0);
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return kVkF1 + (keyval - GDK_KEY_F1);
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return kVkNumpad0 + (keyval - GDK_KEY_KP_0);
    switch (keyval) {
        case GDK_KEY_BackSpace: return kVkBack;
        case GDK_KEY_Tab:
        case GDK_KEY_ISO_Left_Tab: return kVkTab;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter: return kVkReturn;
        case GDK_KEY_Escape: return kVkEscape;
        case GDK_KEY_space: return kVkSpace;
        case GDK_KEY_Page_Up: return kVkPrior;
        case GDK_KEY_Page_Down: return kVkNext;
        case GDK_KEY_End: return kVkEnd;
        case GDK_KEY_Home: return kVkHome;
        case GDK_KEY_Left: return kVkLeft;
        case GDK_KEY_Up: return kVkUp;
        case GDK_KEY_Right: return kVkRight;
        case GDK_KEY_Down: return kVkDown;
        case GDK_KEY_Insert: return kVkInsert;
        case GDK_KEY_Delete: return kVkDelete;
        case GDK_KEY_Shift_L: return kVkLShift;
        case GDK_KEY_Shift_R: return kVkRShift;
        case GDK_KEY_Control_L: return kVkLControl;
        case GDK_KEY_Control_R: return kVkRControl;
        case GDK_KEY_Alt_L: return kVkLMenu;
        case GDK_KEY_Alt_R:
        case GDK_KEY_ISO_Level3_Shift: return kVkRMenu;
        case GDK_KEY_Super_L: return kVkLWin;
        case GDK_KEY_Super_R: return kVkRWin;
        case GDK_KEY_Menu: return kVkApps;
        case GDK_KEY_Caps_Lock: return kVkCapital;
        case GDK_KEY_Num_Lock: return kVkNumLock;
        case GDK_KEY_Scroll_Lock: return kVkScroll;
        case GDK_KEY_Pause: return kVkPause;
        case GDK_KEY_Print: return kVkSnapshot;
        case GDK_KEY_KP_Multiply: return kVkMultiply;
        case GDK_KEY_KP_Add: return kVkAdd;
        case GDK_KEY_KP_Subtract: return kVkSubtract;
        case GDK_KEY_KP_Decimal: return kVkDecimal;
        case GDK_KEY_KP_Divide: return kVkDivide;
        case GDK_KEY_semicolon:
        case GDK_KEY_colon: return kVkOem1;
        case GDK_KEY_equal:
        case GDK_KEY_plus: return kVkOemPlus;
        case GDK_KEY_comma:
        case GDK_KEY_less: return kVkOemComma;
        case GDK_KEY_minus:
        case GDK_KEY_underscore: return kVkOemMinus;
        case GDK_KEY_period:
        case GDK_KEY_greater: return kVkOemPeriod;
        case GDK_KEY_slash:
        case GDK_KEY_question: return kVkOem2;
        case GDK_KEY_grave:
        case GDK_KEY_asciitilde: return kVkOem3;
        case GDK_KEY_bracketleft:
        case GDK_KEY_braceleft: return kVkOem4;
        case GDK_KEY_backslash:
        case GDK_KEY_bar: return kVkOem5;
        case GDK_KEY_bracketright:
        case GDK_KEY_braceright: return kVkOem6;
        case GDK_KEY_apostrophe:
        case GDK_KEY_quotedbl: return kVkOem7;
        default: return 0;
    }
}

}  // namespace ui
