// Menus: the Win32 menu tree is the record; an Fl_Menu_Bar above the client
// area shows it. Builds on the window registry. The toolkit never changes a
// check mark on its own: only SetMenuItemInfoA does, and choosing an item
// only posts WM_COMMAND.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <set>
#include <string>

#include <FL/Fl.H>

#include "platform/linux/menu.h"
#include "platform/linux/window.h"

struct MenuItemRecord {
    UINT id = 0;
    UINT state = 0;
    std::string label;
    HMENU popup = nullptr;  // set for MF_POPUP items
};

// A deque keeps the labels in place as items are appended, so the toolkit's
// item array may point into them.
struct HMENU__ {
    std::deque<MenuItemRecord> items;
};

namespace platform {

namespace {

std::set<HMENU> liveMenus;
std::set<HWND> windowsWithMenus;

bool isLiveMenu(HMENU menu) { return menu && liveMenus.count(menu) != 0; }

void appendToolkitItems(HMENU menu, std::vector<Fl_Menu_Item>& items) {
    for (const MenuItemRecord& record : menu->items) {
        Fl_Menu_Item item = {};
        item.text = record.label.c_str();
        // Only checked items get the toggle box: unchecked ones show no mark.
        if (record.state & MFS_CHECKED) item.flags |= FL_MENU_TOGGLE | FL_MENU_VALUE;
        if (record.popup) item.flags |= FL_SUBMENU;
        item.user_data_ = reinterpret_cast<void*>(static_cast<uintptr_t>(record.id));
        items.push_back(item);
        if (record.popup) {
            appendToolkitItems(record.popup, items);
            items.push_back(Fl_Menu_Item{});
        }
    }
}

// Shows the menu's current record. Same shape: the flags are rewritten in
// place, so an item the toolkit holds (the one just picked) stays valid.
void refreshMenuBar(HWND window) {
    std::vector<Fl_Menu_Item> items;
    appendToolkitItems(window->menu, items);
    items.push_back(Fl_Menu_Item{});
    if (items.size() == window->menuItems.size()) {
        std::copy(items.begin(), items.end(), window->menuItems.begin());
    } else {
        window->menuItems = std::move(items);
        window->menuBar->menu(window->menuItems.data());
    }
    window->menuBar->redraw();
}

// The records changed: every bar shows them again. The viewer changes eight
// check marks after every key release; each rebuild is a dozen items.
void refreshMenuBars() {
    for (HWND window : windowsWithMenus) refreshMenuBar(window);
}

// The bar's callback, for every item: the items have none of their own.
void onItemPicked(Fl_Widget* widget, void* data) {
    HWND window = static_cast<HWND>(data);
    const Fl_Menu_Item* picked = static_cast<Fl_Menu_Bar*>(widget)->mvalue();
    if (!window || !picked) return;
    UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(picked->user_data()));
    // Undo the toolkit's own toggle of the picked item.
    refreshMenuBar(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// Items named by command id, searched through popups as Windows does.
MenuItemRecord* findItem(HMENU menu, UINT id) {
    for (MenuItemRecord& item : menu->items) {
        if (item.popup) {
            if (MenuItemRecord* found = findItem(item.popup, id)) return found;
        } else if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

// Only MIIM_STATE of the structure's 64-bit size, by command id: anything
// else would be answered wrongly, so it fails.
MenuItemRecord* itemFor(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    bool answerable = info && info->cbSize == sizeof(MENUITEMINFOA) && info->fMask == MIIM_STATE && !byPosition;
    return answerable && isLiveMenu(menu) ? findItem(menu, item) : nullptr;
}

}  // namespace

// The bar goes with the window's widgets; the menu records stay.
void destroyWindowMenu(HWND window) {
    if (window->menuBar) window->menuBar->user_data(nullptr);
    windowsWithMenus.erase(window);
}

}  // namespace platform

using namespace platform;

HMENU WINAPI CreateMenu(void) {
    HMENU menu = new HMENU__;
    liveMenus.insert(menu);
    return menu;
}

// MF_STRING items and MF_POPUP items, either possibly MF_CHECKED.
BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    if (!isLiveMenu(menu) || (flags & ~static_cast<UINT>(MF_POPUP | MF_CHECKED))) return FALSE;
    MenuItemRecord item;
    item.label = newItem ? newItem : "";
    item.state = flags & MF_CHECKED;
    if (flags & MF_POPUP) {
        item.popup = reinterpret_cast<HMENU>(idNewItem);
        if (!isLiveMenu(item.popup) || item.popup == menu) return FALSE;
    } else {
        item.id = static_cast<UINT>(idNewItem);
    }
    menu->items.push_back(std::move(item));
    refreshMenuBars();
    return TRUE;
}

// A window's menu is attached once.
BOOL WINAPI SetMenu(HWND window, HMENU menu) {
    if (!isLiveWindow(window) || !isLiveMenu(menu) || window->menu) return FALSE;
    window->menu = menu;
    window->top->begin();
    window->menuBar = new Fl_Menu_Bar(0, 0, window->top->w(), kMenuBarHeight);
    window->top->end();
    window->menuBar->user_data(window);
    window->menuBar->callback(onItemPicked);
    windowsWithMenus.insert(window);
    refreshMenuBar(window);
    // The outer size stays; the client area gives up the bar's height.
    clientAreaChanged(window);
    window->top->redraw();
    return TRUE;
}

HMENU WINAPI GetMenu(HWND window) { return isLiveWindow(window) ? window->menu : nullptr; }

BOOL WINAPI GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info) {
    MenuItemRecord* record = itemFor(menu, item, byPosition, info);
    if (!record) return FALSE;
    info->fState = record->state;
    return TRUE;
}

BOOL WINAPI SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info) {
    MenuItemRecord* record = itemFor(menu, item, byPosition, info);
    if (!record) return FALSE;
    record->state = info->fState;
    refreshMenuBars();
    return TRUE;
}
