#include "platform/linux/keys.h"

#include <cstring>
#include <string>

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>

#include "platform/win32.h"

namespace platform {

namespace {

// The unshifted key as Fl::event_key() names it, so Shift and Caps Lock
// never change a letter's code.
int virtualKeyOfSymbol(int toolkitKey) {
    if (toolkitKey >= 'a' && toolkitKey <= 'z') return toolkitKey - 'a' + 'A';
    if (toolkitKey >= '0' && toolkitKey <= '9') return toolkitKey;
    if (toolkitKey == FL_Escape) return VK_ESCAPE;
    // AltGr (ISO_Level3_Shift) is the right Alt key.
    if (toolkitKey == FL_Alt_L || toolkitKey == FL_Alt_R || toolkitKey == 0xfe03) return VK_MENU;
    return 0;
}

// The US keyboard by place: XKB names the digit row AE and the letter rows
// below it AD, AC and AB, each numbered from the left ("AE01" holds 1,
// "AD01" Q). Each row here is its name, then its keys.
constexpr const char* kUsRows[] = {"AE1234567890", "ADQWERTYUIOP", "ACASDFGHJKL", "ABZXCVBNM"};

bool isDigit(int character) { return character >= '0' && character <= '9'; }

int virtualKeyAtUsPlace(const std::string& placeName) {
    if (placeName.size() != 4 || !isDigit(placeName[2]) || !isDigit(placeName[3])) return 0;
    size_t number = static_cast<size_t>((placeName[2] - '0') * 10 + (placeName[3] - '0'));
    for (const char* row : kUsRows) {
        if (placeName.compare(0, 2, row, 2) == 0 && number >= 1 && number <= strlen(row) - 2) return row[number + 1];
    }
    return 0;
}

// XKB's name for the place of the current X key event's key, asked each
// time, as the keyboard can change while the viewer runs.
std::string placeNameOfEvent() {
    bool keyEvent = fl_xevent && (fl_xevent->type == KeyPress || fl_xevent->type == KeyRelease);
    unsigned int keyCode = keyEvent ? fl_xevent->xkey.keycode : 0;
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

}  // namespace

// By the key's symbol where that names a code, else by its place on a US
// keyboard: a symbol beyond ASCII (a Cyrillic letter) acts as the US key
// there, and the digit row gives digits on every layout (AZERTY shows
// & é " ' ( - è _ ç à there without Shift).
int virtualKeyOfEvent() {
    int toolkitKey = Fl::event_key();
    if (int bySymbol = virtualKeyOfSymbol(toolkitKey)) return bySymbol;
    int byPlace = virtualKeyAtUsPlace(placeNameOfEvent());
    return isDigit(byPlace) || toolkitKey > 0x7f ? byPlace : 0;
}

}  // namespace platform
