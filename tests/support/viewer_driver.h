// Drives the built viewer as a person would: starts it on a private X
// server in a scratch working directory that holds a copy of resources/,
// sends real X input through XTest, takes screenshots of its window and
// menus, and waits for it to end. The destructor ends the viewer and the X
// server, so nothing outlives a test.
//
// The X headers stay out of this header: their macros (None, Bool, Status)
// clash with gtest's.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/image.h"
#include "tests/support/private_x_server.h"

// How ViewerDriver::launch() starts the viewer. The defaults start the
// Linux build as it is, with the test's own environment, in the scratch copy.
struct ViewerLaunch {
    std::vector<std::string> environment;  // NAME=VALUE added to the test's
    std::vector<std::string> wrapper;      // a program (full path) and arguments to run the viewer under
    std::chrono::seconds startTimeout{10};  // for the window and the first frame
    // Another program (full path) and its arguments: the Windows build's
    // verrine.exe, with the wrapper /usr/bin/wine, say.
    std::string program = VERRINE_VIEWER_PATH;
    std::vector<std::string> arguments;
    std::filesystem::path workingDirectory;  // empty: workingDirectory(), the scratch copy
    // Wine draws the Win32 menus itself: a check mark is a dark tick left of
    // the label, where the toolkit draws a white box.
    bool wineMenus = false;
    // The title the window is found by: another program built on the viewer
    // has its own.
    std::string title = "Verrine";
};

// For ViewerLaunch::environment: holds the viewer's buffer swaps to the pace
// of a 60 Hz display with vertical sync, as on a desktop; without it the
// viewer runs at hundreds of frames a second under Xvfb.
std::string sixtyHertzDisplay();

class ViewerDriver {
public:
    // The popups of the menu bar, in the bar's order.
    enum class Menu { File, Shader, Debug };

    // A popup as it shows on the screen: its rectangle and one rectangle per
    // item, in root-window coordinates, and its picture.
    struct OpenedMenu {
        Rect bounds;
        std::vector<Rect> items;
        Image picture;
    };

    ViewerDriver();
    ~ViewerDriver();
    ViewerDriver(const ViewerDriver&) = delete;
    ViewerDriver& operator=(const ViewerDriver&) = delete;

    // The viewer's working directory; tests may change the copied
    // resources/ before launch().
    const std::filesystem::path& workingDirectory() const { return scratch_; }

    // Starts the viewer, waits for its window "Verrine" and for a first
    // drawn, still frame, and gives the window the keyboard focus.
    ::testing::AssertionResult launch(const ViewerLaunch& how = ViewerLaunch());
    // Everything the viewer has written to standard error so far.
    std::string standardError() const;

    // Keys are named as X names them ("w", "2", "Escape") or by their place
    // on the keyboard as XKB names it, whatever the layout: "<AD02>" is the
    // key that holds W on a US keyboard.
    void keyDown(const std::string& key);
    void keyUp(const std::string& key);
    // Press and release, `times` times. A press and its release reach the
    // viewer as two messages and it takes one message per frame, so each
    // tap is held for exactly one frame: one camera step.
    void tapKey(const std::string& key, int times = 1);
    void holdKey(const std::string& key, std::chrono::milliseconds duration);

    // Mouse positions are in client-area coordinates (below the menu bar).
    void moveMouse(int x, int y);
    // A left-button drag through `steps` moves, each delivered on its own.
    void drag(int fromX, int fromY, int toX, int toY, int steps = 12);
    // Positive notches turn the wheel away from the user (button 4),
    // negative ones towards the user (button 5).
    void turnWheel(int notches);
    // The left button alone, where the pointer is.
    void setLeftButton(bool down);
    // What the window manager's close box does: WM_DELETE_WINDOW.
    void requestClose();
    // What switching to another program does to the keyboard: the focus
    // leaves the viewer (for no window), so key releases no longer reach it.
    // focus() gives it back.
    void takeFocusAway();
    void focus();
    // Switches the X server to another keyboard layout ("fr", "de", "ru")
    // and reads the server's keymap back: setxkbmap can succeed and still
    // leave the old map in place.
    ::testing::AssertionResult setKeyboardLayout(const std::string& layout);

    // Where the window (menu bar and client area) and its client area lie
    // on the screen, and the instance name of its X WM_CLASS, which carries
    // the window class (the toolkit fills the class part with the same name
    // capitalised).
    Rect windowArea() const { return window_; }
    Rect clientArea() const { return client_; }
    std::string windowClassInstance() const;
    // The window's title as the window manager reads it.
    std::string title() const;
    // Whether the title comes to start with `start` (to be it, when `exact`)
    // within the time.
    bool waitForTitle(const std::string& start, bool exact = false,
                      std::chrono::milliseconds timeout = std::chrono::seconds(3)) const;

    int clientWidth() const { return client_.width; }
    int clientHeight() const { return client_.height; }
    Image captureClient();
    // The whole window: menu bar and client area.
    Image captureWindow();
    // The viewer draws without pause; waits until the picture stays the
    // same, outside the frame-rate text, across several newly presented
    // frames, and returns it (empty if it never settles within the time).
    // Counting frames, not only time, matters: the first frame in a new
    // shading mode can take a while, as the driver compiles its code then.
    Image stillClient(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Where the frame-rate text changes from frame to frame.
    static Rect frameRateCorner(int clientHeight);

    // Frames the viewer has presented since the window was found, as the X
    // server's damage reports on the client area count them. A report can
    // stand for several frames when the test looks less often than the
    // viewer presents, so at hundreds of frames a second this undercounts.
    int framesPresented();
    bool waitForFrames(int count, std::chrono::milliseconds timeout);
    // Once input has stopped: the frames that still changed the picture,
    // counted from now, and how long after `since` the last of them came.
    // Watches until `quietFrames` frames in a row leave the picture as it
    // was; empty if that does not happen within the time.
    struct Settling {
        int frames;
        std::chrono::milliseconds delay;
    };
    std::optional<Settling> settle(std::chrono::steady_clock::time_point since, int quietFrames,
                                   std::chrono::milliseconds timeout);
    // The frames presented from now until the viewer ends; empty if it still
    // runs after the time.
    std::optional<int> framesUntilExit(std::chrono::milliseconds timeout);

    // Menus, clicked with the mouse (viewer_menus.cpp).
    std::optional<OpenedMenu> openMenu(Menu menu);
    // Opening leaves the left button down; closing releases it outside the
    // window, which makes no choice.
    void closeMenu();
    ::testing::AssertionResult chooseMenuItem(Menu menu, int item);
    // For each item of the popup, whether it shows a check mark. Opens the
    // popup and closes it again.
    std::optional<std::vector<bool>> readCheckMarks(Menu menu);

    bool running();
    // For reading the viewer's /proc entries; -1 before launch().
    int processId() const;
    // The private X server, ":N", and the viewer's client area on it, for
    // X requests of the test's own.
    std::string displayName() const;
    unsigned long clientWindowId() const { return clientWindow_; }
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

private:
    bool findWindow(const std::string& title);
    // Before a button goes down: enough frames for the viewer to have taken
    // every message queued until then.
    static constexpr int kFramesBeforeButton = 3;
    // Between the release of one tap (a key or a wheel notch) and the press
    // of the next: distinct server times, so the toolkit cannot take the
    // pair for auto-repeat.
    static constexpr std::chrono::milliseconds kTapGap{8};
    void sync();
    unsigned char keyCode(const std::string& key);
    void moveRoot(int rootX, int rootY);
    Image captureRoot(const Rect& area);
    std::optional<Rect> menuTitle(Menu menu);
    std::optional<Rect> findPopup();
    bool waitForPopupGone();

    std::filesystem::path scratch_;
    std::unique_ptr<PrivateXServer> server_;
    std::unique_ptr<ChildProcess> viewer_;
    bool wineMenus_ = false;
    bool lastPressLeft_ = false;  // of a menu title's middle
    unsigned long topWindow_ = 0;
    unsigned long clientWindow_ = 0;
    Rect window_;  // the top-level window, root coordinates
    Rect client_;  // the client area, root coordinates
    unsigned long damage_ = 0;
    int damageEventBase_ = 0;
    int frames_ = 0;
};
