#include "platform/linux/keys.h"

#include <FL/Enumerations.H>

#include "platform/win32.h"

namespace platform {

namespace {

struct KeyCode {
    int toolkitKey;
    int virtualKey;
};

// Punctuation is named by the key of a US layout, as VK_OEM_* are.
constexpr KeyCode kKeyCodes[] = {
    {FL_BackSpace, VK_BACK},
    {FL_Tab, VK_TAB},
    {FL_Enter, VK_RETURN},
    {FL_KP_Enter, VK_RETURN},
    {FL_Pause, VK_PAUSE},
    {FL_Caps_Lock, VK_CAPITAL},
    {FL_Escape, VK_ESCAPE},
    {' ', VK_SPACE},
    {FL_Page_Up, VK_PRIOR},
    {FL_Page_Down, VK_NEXT},
    {FL_End, VK_END},
    {FL_Home, VK_HOME},
    {FL_Left, VK_LEFT},
    {FL_Up, VK_UP},
    {FL_Right, VK_RIGHT},
    {FL_Down, VK_DOWN},
    {FL_Print, VK_SNAPSHOT},
    {FL_Insert, VK_INSERT},
    {FL_Delete, VK_DELETE},
    {0xff0b, VK_CLEAR},  // keypad 5 with Num Lock off
    {FL_Shift_L, VK_SHIFT},
    {FL_Shift_R, VK_SHIFT},
    {FL_Control_L, VK_CONTROL},
    {FL_Control_R, VK_CONTROL},
    {FL_Alt_L, VK_MENU},
    {FL_Alt_R, VK_MENU},
    {0xfe03, VK_MENU},  // AltGr (ISO_Level3_Shift) is the right Alt key
    {FL_Meta_L, VK_LWIN},
    {FL_Meta_R, VK_RWIN},
    {FL_Menu, VK_APPS},
    {FL_Num_Lock, VK_NUMLOCK},
    {FL_Scroll_Lock, VK_SCROLL},
    {FL_KP + '*', VK_MULTIPLY},
    {FL_KP + '+', VK_ADD},
    {FL_KP + '-', VK_SUBTRACT},
    {FL_KP + '.', VK_DECIMAL},
    {FL_KP + '/', VK_DIVIDE},
    {';', VK_OEM_1},
    {'=', VK_OEM_PLUS},
    {',', VK_OEM_COMMA},
    {'-', VK_OEM_MINUS},
    {'.', VK_OEM_PERIOD},
    {'/', VK_OEM_2},
    {'`', VK_OEM_3},
    {'[', VK_OEM_4},
    {'\\', VK_OEM_5},
    {']', VK_OEM_6},
    {'\'', VK_OEM_7},
    {'<', VK_OEM_102},  // the extra key of ISO keyboards
};

}  // namespace

int virtualKeyFor(int toolkitKey) {
    if (toolkitKey >= 'a' && toolkitKey <= 'z') return toolkitKey - 'a' + 'A';
    if (toolkitKey >= '0' && toolkitKey <= '9') return toolkitKey;
    if (toolkitKey >= FL_KP + '0' && toolkitKey <= FL_KP + '9') return VK_NUMPAD0 + toolkitKey - (FL_KP + '0');
    if (toolkitKey >= FL_F + 1 && toolkitKey <= FL_F + 12) return VK_F1 + toolkitKey - (FL_F + 1);
    for (const KeyCode& code : kKeyCodes) {
        if (code.toolkitKey == toolkitKey) return code.virtualKey;
    }
    return 0;
}

}  // namespace platform
