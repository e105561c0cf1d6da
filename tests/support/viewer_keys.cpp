// The keyboard as a person uses it: keys by their symbol or their place,
// taps, holds, and the X server's layout.

#include "tests/support/viewer_driver.h"

#include <stdio.h>

#include <cstring>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

// The key code of the key XKB calls by this name ("AD02"), 0 if none.
KeyCode keyCodeNamed(Display* display, const std::string& name) {
    XkbDescPtr keyboard = XkbGetMap(display, 0, XkbUseCoreKbd);
    if (!keyboard) return 0;
    KeyCode found = 0;
    if (XkbGetNames(display, XkbKeyNamesMask, keyboard) == Success && keyboard->names) {
        for (int code = keyboard->min_key_code; code <= keyboard->max_key_code && !found; ++code) {
            const char* keyName = keyboard->names->keys[code].name;
            if (name == std::string(keyName, strnlen(keyName, XkbKeyNameLength))) found = static_cast<KeyCode>(code);
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return found;
}

// What a command writes to standard output, or nothing if it failed.
std::optional<std::string> outputOf(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    for (size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, read);
    if (pclose(pipe) != 0) return std::nullopt;
    return output;
}

// The symbols line of the keymap read back names its layouts among other
// parts: xkb_symbols "pc+fr+inet(evdev)".
bool keymapHasLayout(const std::string& keymap, const std::string& layout) {
    size_t line = keymap.find("xkb_symbols");
    std::string symbols = keymap.substr(line, keymap.find('\n', line) - line);
    for (size_t at = symbols.find("+" + layout); at != std::string::npos; at = symbols.find("+" + layout, at + 1)) {
        char next = symbols[at + 1 + layout.size()];
        if (next == '+' || next == '(' || next == ':' || next == '"') return true;
    }
    return false;
}

}  // namespace

// The driver's own connection matters here: an X server left without
// clients resets, and with it the keymap, as soon as setxkbmap disconnects.
::testing::AssertionResult ViewerDriver::setKeyboardLayout(const std::string& layout) {
    if (!outputOf("setxkbmap -display " + server_->name() + " " + layout)) {
        return ::testing::AssertionFailure() << "setxkbmap failed for the layout " << layout;
    }
    std::optional<std::string> keymap = outputOf("xkbcomp -w0 " + server_->name() + " - 2>/dev/null");
    if (!keymap || keymap->find("xkb_symbols") == std::string::npos) {
        return ::testing::AssertionFailure() << "xkbcomp could not read the server's keymap back";
    }
    if (!keymapHasLayout(*keymap, layout)) {
        return ::testing::AssertionFailure() << "the server's keymap is not " << layout << " after setxkbmap: "
                                             << keymap->substr(keymap->find("xkb_symbols"), 80);
    }
    return ::testing::AssertionSuccess();
}

unsigned char ViewerDriver::keyCode(const std::string& key) {
    Display* display = server_->display();
    if (key.size() > 2 && key.front() == '<' && key.back() == '>') {
        return keyCodeNamed(display, key.substr(1, key.size() - 2));
    }
    return XKeysymToKeycode(display, XStringToKeysym(key.c_str()));
}

void ViewerDriver::keyDown(const std::string& key) {
    KeyCode code = keyCode(key);
    ASSERT_NE(code, 0) << "no key code for \"" << key << "\"";
    XTestFakeKeyEvent(server_->display(), code, True, CurrentTime);
    sync();
}

void ViewerDriver::keyUp(const std::string& key) {
    XTestFakeKeyEvent(server_->display(), keyCode(key), False, CurrentTime);
    sync();
}

// Press and release go to the server in one request batch, so the viewer
// reads them together and takes them in two successive frames; a release
// sent separately could arrive a frame or two late and add steps.
void ViewerDriver::tapKey(const std::string& key, int times) {
    Display* display = server_->display();
    KeyCode code = keyCode(key);
    ASSERT_NE(code, 0) << "no key code for \"" << key << "\"";
    for (int i = 0; i < times; ++i) {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        sync();
        std::this_thread::sleep_for(kTapGap);
    }
}

void ViewerDriver::holdKey(const std::string& key, std::chrono::milliseconds duration) {
    keyDown(key);
    std::this_thread::sleep_for(duration);
    keyUp(key);
}
