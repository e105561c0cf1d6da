// The menu bar, its check marks and the commands its items send.

#include <iterator>

#include "app/globals.h"
#include "app/window.h"

namespace {

static_assert(kShowRotationPointCommand - kShowLightLocationsCommand + 1 == std::size(kDebugSwitches),
              "one Debug command id per switch, in order");

// The Debug toggles in command-id order, 300 to 304; nullptr for any other id.
bool* debugFlag(int commandId) {
    const int index = commandId - kShowLightLocationsCommand;
    if (index < 0 || index >= static_cast<int>(std::size(kDebugSwitches))) return nullptr;
    return &(options->*kDebugSwitches[index].flag);
}

}  // namespace

void createMenuBar(HWND window) {
    HMENU file = CreateMenu();
    AppendMenuA(file, MF_STRING, kQuitCommand, "Quit - esc");

    // Only the fixed pipeline starts checked; refreshMenuChecks keeps the
    // marks in step with the state from then on.
    HMENU shader = CreateMenu();
    for (const ShaderModeName& item : kShaderModeNames) {
        UINT flags = item.mode == kFixedPipelineMode ? MF_STRING | MF_CHECKED : MF_STRING;
        AppendMenuA(shader, flags, static_cast<UINT>(item.mode), item.label);
    }

    HMENU debug = CreateMenu();
    for (size_t i = 0; i < std::size(kDebugSwitches); ++i) {
        AppendMenuA(debug, MF_STRING, kShowLightLocationsCommand + i, kDebugSwitches[i].label);
    }

    HMENU bar = CreateMenu();
    menuBar = bar;
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(shader), "Shader");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(debug), "Debug");
    SetMenu(window, bar);
}

void setMenuCheck(HMENU menu, UINT commandId, bool checked) {
    MENUITEMINFOA info = {};
    // The structure's real size: a hard-coded 48 is right only for 32-bit
    // builds, and 64-bit Windows rejects it, leaving the marks unchanged.
    info.cbSize = sizeof(MENUITEMINFOA);
    info.fMask = MIIM_STATE;
    GetMenuItemInfoA(menu, commandId, FALSE, &info);
    if (checked) info.fState |= MFS_CHECKED;
    else info.fState &= ~static_cast<UINT>(MFS_CHECKED);
    SetMenuItemInfoA(menu, commandId, FALSE, &info);
}

void refreshMenuChecks(HWND window) {
    HMENU menu = GetMenu(window);
    for (const ShaderModeName& item : kShaderModeNames) {
        setMenuCheck(menu, static_cast<UINT>(item.mode), application->shaderSet.currentMode == item.mode);
    }
    for (size_t i = 0; i < std::size(kDebugSwitches); ++i) {
        setMenuCheck(menu, static_cast<UINT>(kShowLightLocationsCommand + i), options->*kDebugSwitches[i].flag);
    }
}

void Application::menuCommand(int commandId) {
    // Any command stops every held key: the key-up may never arrive while a
    // menu has the input.
    releaseKeys();
    if (commandId >= kFirstShaderCommand && commandId <= kLastShaderCommand) shaderSet.setMode(commandId);
    if (commandId == kQuitCommand) options->quitRequested = true;
    if (bool* flag = debugFlag(commandId)) *flag = !*flag;
}
