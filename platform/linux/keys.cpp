#include "platform/linux/keys.h"

#include <cstring>

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>

#include "platform/win32.h"

namespace platform {

namespace {

struct SymbolCode {
    int toolkitKey;
    int virtualKey;
};

// Punctuation is named by the key of a US layout, as VK_OEM_* are.
constexpr SymbolCode kSymbolCodes[] = {
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

// The US keyboard by place. XKB names the digit row AE and the letter rows
// below it AD, AC and AB, each numbered from the left.
struct KeyRow {
    const char* name;
    const char* keys;
};

constexpr KeyRow kUsRows[] = {
    {"AE", "1234567890"},
    {"AD", "QWERTYUIOP"},
    {"AC", "ASDFGHJKL"},
    {"AB", "ZXCVBNM"},
};

struct KeyPlace {
    const char* name;
    int virtualKey;
};

constexpr KeyPlace kUsPunctuation[] = {
    {"TLDE", VK_OEM_3},   {"AE11", VK_OEM_MINUS},  {"AE12", VK_OEM_PLUS},   {"AD11", VK_OEM_4},
    {"AD12", VK_OEM_6},   {"BKSL", VK_OEM_5},      {"AC10", VK_OEM_1},      {"AC11", VK_OEM_7},
    {"AB08", VK_OEM_COMMA}, {"AB09", VK_OEM_PERIOD}, {"AB10", VK_OEM_2}, {"LSGT", VK_OEM_102},
};

bool isDigit(int character) { return character >= '0' && character <= '9'; }

bool isPunctuation(int virtualKey) {
    for (const KeyPlace& place : kUsPunctuation) {
        if (place.virtualKey == virtualKey) return true;
    }
    return false;
}

// XKB's name for the place of the key with this X key code, asked of the
// server each time: the keyboard can change while the viewer runs, and the
// question comes only for keys whose symbol gives no code or a
// punctuation code.
std::string placeNameOf(unsigned int keyCode) {
    XkbDescPtr keyboard = keyCode ? XkbGetMap(fl_display, 0, XkbUseCoreKbd) : nullptr;
    if (!keyboard) return {};
    std::string name;
    if (XkbGetNames(fl_display, XkbKeyNamesMask, keyboard) == Success && keyboard->names &&
        keyCode >= keyboard->min_key_code && keyCode <= keyboard->max_key_code) {
        const char* raw = keyboard->names->keys[keyCode].name;
        name.assign(raw, strnlen(raw, XkbKeyNameLength));
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return name;
}

unsigned int currentKeyCode() {
    bool keyEvent = fl_xevent && (fl_xevent->type == KeyPress || fl_xevent->type == KeyRelease);
    return keyEvent ? fl_xevent->xkey.keycode : 0;
}

}  // namespace

int virtualKeyAtUsPlace(const std::string& placeName) {
    for (const KeyPlace& place : kUsPunctuation) {
        if (placeName == place.name) return place.virtualKey;
    }
    if (placeName.size() != 4 || !isDigit(placeName[2]) || !isDigit(placeName[3])) return 0;
    size_t number = static_cast<size_t>((placeName[2] - '0') * 10 + (placeName[3] - '0'));
    for (const KeyRow& row : kUsRows) {
        if (placeName.compare(0, 2, row.name) == 0 && number >= 1 && number <= strlen(row.keys)) {
            return row.keys[number - 1];
        }
    }
    return 0;
}

int virtualKeyOfEvent() {
    int bySymbol = virtualKeyFor(Fl::event_key());
    if (bySymbol && !isPunctuation(bySymbol)) return bySymbol;
    int byPlace = virtualKeyAtUsPlace(placeNameOf(currentKeyCode()));
    if (isDigit(byPlace)) return byPlace;
    return bySymbol ? bySymbol : byPlace;
}

int virtualKeyFor(int toolkitKey) {
    if (toolkitKey >= 'a' && toolkitKey <= 'z') return toolkitKey - 'a' + 'A';
    if (toolkitKey >= '0' && toolkitKey <= '9') return toolkitKey;
    if (toolkitKey >= FL_KP + '0' && toolkitKey <= FL_KP + '9') return VK_NUMPAD0 + toolkitKey - (FL_KP + '0');
    if (toolkitKey >= FL_F + 1 && toolkitKey <= FL_F + 12) return VK_F1 + toolkitKey - (FL_F + 1);
    for (const SymbolCode& code : kSymbolCodes) {
        if (code.toolkitKey == toolkitKey) return code.virtualKey;
    }
    return 0;
}

}  // namespace platform
