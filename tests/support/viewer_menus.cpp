// The menu bar as a person uses it with the mouse. Titles and check marks
// are found in screenshots, not asked of the viewer.

#include "tests/support/viewer_driver.h"

#include <thread>

#include <X11/Xlib.h>

namespace {

// The viewer's menus: File has one item, Shader three, Debug five.
constexpr int kItemCounts[] = {1, 3, 5};
constexpr auto kMenuTimeout = std::chrono::seconds(3);
constexpr auto kMenuPoll = std::chrono::milliseconds(20);

int luminance(Rgb colour) { return (299 * colour.red + 587 * colour.green + 114 * colour.blue) / 1000; }

bool isText(Rgb colour) { return luminance(colour) < 100; }

// The toolkit's check mark sits in a white box; nothing else inside the
// border of an unhighlighted popup is white.
bool isCheckBox(Rgb colour) { return colour.red > 240 && colour.green > 240 && colour.blue > 240; }

// Wine's is a dark tick on the popup's white, in the column left of the
// labels, which start 20 pixels in.
bool hasWineTick(const Image& row) {
    constexpr int kTickColumn = 15;
    return measurePixels(row.cropped({0, 0, kTickColumn, row.height()}), isText).count >= 5;
}

// Runs of columns that hold text, split where at least `gap` columns hold
// none: the words of the menu bar.
std::vector<Rect> wordsOf(const Image& strip, int gap) {
    std::vector<Rect> words;
    int emptyColumns = gap;
    for (int x = 0; x < strip.width(); ++x) {
        bool text = false;
        for (int y = 0; y < strip.height() && !text; ++y) text = isText(strip.at(x, y));
        if (!text) {
            ++emptyColumns;
            continue;
        }
        if (emptyColumns >= gap) words.push_back({x, 0, 1, strip.height()});
        words.back().width = x - words.back().x + 1;
        emptyColumns = 0;
    }
    return words;
}

}  // namespace

// Right after a menu closes the bar may still lack the title it covered,
// until the viewer's next pass through the toolkit redraws it.
std::optional<Rect> ViewerDriver::menuTitle(Menu menu) {
    int barHeight = client_.y - window_.y;
    // The bar's edges are dark lines; the titles lie between them.
    constexpr int kInset = 3;
    Rect strip = {window_.x + kInset, window_.y + kInset, window_.width - 2 * kInset, barHeight - 2 * kInset};
    auto deadline = std::chrono::steady_clock::now() + kMenuTimeout;
    std::vector<Rect> titles = wordsOf(captureRoot(strip), 6);
    while (titles.size() != 3) {
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(kMenuPoll);
        titles = wordsOf(captureRoot(strip), 6);
    }
    Rect title = titles[static_cast<size_t>(menu)];
    return Rect{strip.x + title.x, window_.y, title.width, barHeight};
}

// The toolkit shows a popup as an override-redirect window of its own; the
// highlighted title is another, smaller one over the bar.
std::optional<Rect> ViewerDriver::findPopup() {
    Display* display = server_->display();
    Window root, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return std::nullopt;
    std::optional<Rect> popup;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (children[i] == topWindow_ || !XGetWindowAttributes(display, children[i], &attributes)) continue;
        if (attributes.map_state != IsViewable || !attributes.override_redirect) continue;
        if (attributes.y < client_.y - 2) continue;
        if (!popup || attributes.width * attributes.height > popup->width * popup->height) {
            popup = Rect{attributes.x, attributes.y, attributes.width, attributes.height};
        }
    }
    if (children) XFree(children);
    return popup;
}

// The menus are used as press, drag and release: the button goes down on
// the title and stays down while the popup is read, and comes up over an
// item to choose it or outside the window to close the menu with no choice. A click on the title would leave the menu open only if the
// toolkit takes the release for the end of a click, which events in between
// (the repeats of a held key) can prevent.
std::optional<ViewerDriver::OpenedMenu> ViewerDriver::openMenu(Menu menu) {
    std::optional<Rect> title = menuTitle(menu);
    if (!title) return std::nullopt;
    // The menu's loop runs inside the toolkit's event handling, ahead of
    // any message still queued, so input sent just before (a key release
    // that moves a check mark) must have been taken first.
    waitForFrames(kFramesBeforeButton, kMenuTimeout);
    // Windows takes a second press within 2 pixels of the last one and
    // within its double-click time for a double-click, which opens no menu;
    // so each press lands 6 pixels from the last.
    lastPressLeft_ = !lastPressLeft_;
    moveRoot(title->x + title->width / 2 + (lastPressLeft_ ? -3 : 3), title->y + title->height / 2);
    setLeftButton(true);

    auto deadline = std::chrono::steady_clock::now() + kMenuTimeout;
    Image previous;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kMenuPoll);
        std::optional<Rect> bounds = findPopup();
        if (!bounds) continue;
        // Drawn once the same picture shows twice.
        Image current = captureRoot(*bounds);
        if (current == previous) {
            OpenedMenu opened;
            opened.bounds = *bounds;
            opened.picture = current;
            // Items share the height; the popup's border is a few pixels,
            // small against an item.
            int count = kItemCounts[static_cast<int>(menu)];
            for (int item = 0; item < count; ++item) {
                int top = bounds->y + bounds->height * item / count;
                int bottom = bounds->y + bounds->height * (item + 1) / count;
                opened.items.push_back({bounds->x, top, bounds->width, bottom - top});
            }
            return opened;
        }
        previous = current;
    }
    closeMenu();
    return std::nullopt;
}

bool ViewerDriver::waitForPopupGone() {
    auto deadline = std::chrono::steady_clock::now() + kMenuTimeout;
    while (findPopup()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(kMenuPoll);
    }
    return true;
}

// Released outside the window, the button makes no choice and leaves
// nothing for the viewer: over the bar the toolkit would keep the menu open,
// over the client area the viewer would see the pointer arrive from far away.
void ViewerDriver::closeMenu() {
    moveRoot(window_.x + window_.width + 40, window_.y + window_.height / 2);
    setLeftButton(false);
    waitForPopupGone();
}

::testing::AssertionResult ViewerDriver::chooseMenuItem(Menu menu, int item) {
    std::optional<OpenedMenu> opened = openMenu(menu);
    if (!opened) return ::testing::AssertionFailure() << "menu " << static_cast<int>(menu) << " did not open";
    // The release picks the item the toolkit last highlighted, so wait for
    // the highlight before letting go.
    const Rect& row = opened->items.at(static_cast<size_t>(item));
    moveRoot(row.x + row.width / 2, row.y + row.height / 2);
    auto deadline = std::chrono::steady_clock::now() + kMenuTimeout;
    while (captureRoot(opened->bounds) == opened->picture && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kMenuPoll);
    }
    setLeftButton(false);
    if (!waitForPopupGone()) return ::testing::AssertionFailure() << "the menu stayed open after a choice";
    return ::testing::AssertionSuccess();
}

std::optional<std::vector<bool>> ViewerDriver::readCheckMarks(Menu menu) {
    std::optional<OpenedMenu> opened = openMenu(menu);
    if (!opened) return std::nullopt;
    std::vector<bool> checks;
    for (const Rect& row : opened->items) {
        // Inside the popup's raised border, whose light edge is white too.
        constexpr int kBorder = 3;
        Rect inPicture = {row.x - opened->bounds.x + kBorder, row.y - opened->bounds.y + kBorder,
                          row.width - 2 * kBorder, row.height - 2 * kBorder};
        Image inRow = opened->picture.cropped(inPicture);
        checks.push_back(wineMenus_ ? hasWineTick(inRow) : measurePixels(inRow, isCheckBox).count >= 20);
    }
    closeMenu();
    return checks;
}
