// Menus: attaching the bar, check marks by command id, and choosing items
// with the pointer.

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>

#include "tests/support/test_window.h"
#include "tests/support/x_input.h"

namespace {

constexpr UINT kQuit = 110;
constexpr UINT kFixed = 200;
constexpr UINT kToon = 201;
constexpr UINT kAxis = 301;

// File (110) | Shader (200 checked, 201) | Debug (300, 301), as the viewer
// builds its own.
HMENU buildMenuBar() {
    HMENU file = CreateMenu();
    AppendMenuA(file, MF_STRING, kQuit, "Quit - esc");
    HMENU shader = CreateMenu();
    AppendMenuA(shader, MF_STRING | MF_CHECKED, kFixed, "Fixed Pipeline - 1");
    AppendMenuA(shader, MF_STRING, kToon, "Toon - 2");
    HMENU debug = CreateMenu();
    AppendMenuA(debug, MF_STRING, 300, "Show Light Locations");
    AppendMenuA(debug, MF_STRING, kAxis, "Show Axis");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(shader), "Shader");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(debug), "Debug");
    return bar;
}

MENUITEMINFOA stateRequest() {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(MENUITEMINFOA);
    info.fMask = MIIM_STATE;
    return info;
}

UINT stateOf(HMENU menu, UINT id) {
    MENUITEMINFOA info = stateRequest();
    EXPECT_TRUE(GetMenuItemInfoA(menu, id, FALSE, &info)) << "item " << id;
    return info.fState;
}

// Whether the toolkit's menu bar of the test's one window shows the item of
// this command id checked, read through the toolkit itself.
bool shownChecked(UINT id) {
    Fl_Window* top = Fl::first_window() ? Fl::first_window()->top_window() : nullptr;
    for (int i = 0; top && i < top->children(); ++i) {
        const Fl_Menu_Bar* bar = dynamic_cast<const Fl_Menu_Bar*>(top->child(i));
        for (int item = 0; bar && item < bar->size(); ++item) {
            const Fl_Menu_Item& shown = bar->menu()[item];
            if (shown.text && !shown.submenu() && reinterpret_cast<uintptr_t>(shown.user_data()) == id) {
                return shown.value() != 0;
            }
        }
    }
    ADD_FAILURE() << "no item " << id << " shown";
    return false;
}

TEST(Menu, AttachingTheBarShrinksTheClientAreaAndSendsItsSizeAtOnce) {
    TestWindow test(20, 40, 500, 495);
    HMENU bar = buildMenuBar();
    test.clearReceived();
    ASSERT_TRUE(SetMenu(test.window(), bar));
    std::vector<ReceivedMessage> sizes = test.receivedOf(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(484, 436));
    EXPECT_EQ(GetMenu(test.window()), bar);
    RECT client;
    GetClientRect(test.window(), &client);
    EXPECT_EQ(client.bottom, 436);
    EXPECT_FALSE(SetMenu(test.window(), buildMenuBar())) << "a menu is attached once";
}

TEST(Menu, CheckMarksAreSetAndReadByCommandIdThroughThePopups) {
    TestWindow test;
    HMENU bar = buildMenuBar();
    SetMenu(test.window(), bar);
    EXPECT_EQ(stateOf(bar, kFixed), static_cast<UINT>(MFS_CHECKED));
    EXPECT_EQ(stateOf(bar, kToon), 0u);

    MENUITEMINFOA info = stateRequest();
    info.fState = MFS_CHECKED;
    ASSERT_TRUE(SetMenuItemInfoA(bar, kToon, FALSE, &info));
    EXPECT_EQ(stateOf(bar, kToon), static_cast<UINT>(MFS_CHECKED));
    info.fState = 0;
    ASSERT_TRUE(SetMenuItemInfoA(bar, kFixed, FALSE, &info));
    EXPECT_EQ(stateOf(bar, kFixed), 0u);
    EXPECT_EQ(stateOf(bar, kToon), static_cast<UINT>(MFS_CHECKED)) << "a neighbour is untouched";

    // The bar shows what the record says once the toolkit has had its turn.
    Fl::check();
    EXPECT_FALSE(shownChecked(kFixed));
    EXPECT_TRUE(shownChecked(kToon));
}

TEST(Menu, ItemInfoCallsRefuseWhatTheyCannotAnswer) {
    TestWindow test;
    HMENU bar = buildMenuBar();
    SetMenu(test.window(), bar);

    // The 32-bit size of the structure: 64-bit Windows refuses it.
    MENUITEMINFOA info = stateRequest();
    info.cbSize = 48;
    info.fState = 0x1234;
    EXPECT_FALSE(GetMenuItemInfoA(bar, kFixed, FALSE, &info));
    EXPECT_EQ(info.fState, 0x1234u);
    info.fState = 0;
    EXPECT_FALSE(SetMenuItemInfoA(bar, kFixed, FALSE, &info));
    EXPECT_EQ(stateOf(bar, kFixed), static_cast<UINT>(MFS_CHECKED));

    info = stateRequest();
    EXPECT_FALSE(GetMenuItemInfoA(bar, 999, FALSE, &info)) << "no such command";
    EXPECT_FALSE(GetMenuItemInfoA(bar, 0, TRUE, &info)) << "positions are not supported";
    info.fMask = MIIM_STATE | 0x2;
    EXPECT_FALSE(GetMenuItemInfoA(bar, kFixed, FALSE, &info)) << "only the state can be read";
}

// Choosing runs the toolkit's menu loop inside PeekMessageA, so the clicks
// come from another thread while this one pumps. The open menu grabs the
// keyboard, which X reports as focus changes; on Windows a menu leaves the
// focus where it was.
TEST(Menu, ChoosingAnItemPostsItsCommandAndLeavesTheCheckMarkAndTheFocus) {
    TestWindow test;
    HMENU bar = buildMenuBar();
    SetMenu(test.window(), bar);
    XInput input;
    ASSERT_TRUE(input.showAndFocus(test));

    // "Shader" is the second title of the bar (20 px above the client area);
    // its first item lies just below the bar.
    std::thread user([&test] {
        XInput pointer;
        pointer.moveTo(test.window(), 75, -10);
        pointer.buttonDown(XInput::kLeftButton);
        pointer.buttonUp(XInput::kLeftButton);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        pointer.moveTo(test.window(), 85, 12);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pointer.buttonDown(XInput::kLeftButton);
        pointer.buttonUp(XInput::kLeftButton);
    });
    bool chosen = test.waitFor(WM_COMMAND, 5000);
    user.join();
    ASSERT_TRUE(chosen);
    std::vector<ReceivedMessage> commands = test.receivedOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(kFixed, 0));
    EXPECT_EQ(commands[0].lParam, 0);
    test.pumpFor(100);
    EXPECT_TRUE(test.receivedOf(WM_KILLFOCUS).empty());
    EXPECT_TRUE(test.receivedOf(WM_SETFOCUS).empty());

    EXPECT_EQ(stateOf(bar, kFixed), static_cast<UINT>(MFS_CHECKED));
    EXPECT_TRUE(shownChecked(kFixed)) << "the toolkit toggled the mark on its own";
}

}  // namespace
