// The menu bar, its check marks and the commands its items send.

#include "app/globals.h"
#include "app/window.h"

namespace {

struct MenuItem {
    UINT commandId;
    const char* label;
};

constexpr MenuItem kShaderItems[] = {
    {kFixedPipelineMode, "Fixed Pipeline - 1"},
    {kToonMode, "Toon - 2"},
    {kEdgeMode, "Edge - 3"},
};

constexpr MenuItem kDebugItems[] = {
    {kShowLightLocationsCommand, "Show Light Locations"},
    {kShowAxisCommand, "Show Axis"},
    {kShowBasePlaneCommand, "Show Base Plane"},
    {kRotateSceneCommand, "Rotate Scene"},
    {kShowRotationPointCommand, "Show Rotation Point"},
};

// The Debug toggles in command-id order, 300 to 304.
bool* debugFlag(int commandId) {
    switch (commandId) {
        case kShowLightLocationsCommand: return &options->showLightLocations;
        case kShowAxisCommand: return &options->showAxis;
        case kShowBasePlaneCommand: return &options->showBasePlane;
        case kRotateSceneCommand: return &options->rotateScene;
        case kShowRotationPointCommand: return &options->showRotationPoint;
        default: return nullptr;
    }
}

}  // namespace

void createMenuBar(HWND window) {
    HMENU file = CreateMenu();
    AppendMenuA(file, MF_STRING, kQuitCommand, "Quit - esc");

    // Only the fixed pipeline starts checked; refreshMenuChecks keeps the
    // marks in step with the state from then on.
    HMENU shader = CreateMenu();
    for (const MenuItem& item : kShaderItems) {
        UINT flags = item.commandId == kFixedPipelineMode ? MF_STRING | MF_CHECKED : MF_STRING;
        AppendMenuA(shader, flags, item.commandId, item.label);
    }

    HMENU debug = CreateMenu();
    for (const MenuItem& item : kDebugItems) AppendMenuA(debug, MF_STRING, item.commandId, item.label);

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
    for (const MenuItem& item : kShaderItems) {
        setMenuCheck(menu, item.commandId, application->shaderSet.currentMode == static_cast<int>(item.commandId));
    }
    for (const MenuItem& item : kDebugItems) {
        setMenuCheck(menu, item.commandId, *debugFlag(static_cast<int>(item.commandId)));
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
