// The window procedure, the menu bar and the OpenGL context of the window.
#pragma once

#include "platform/win32.h"

// Command ids of the menu items. The Shader items send their mode
// (shaders/shader_mode.h); the Debug items follow kDebugSwitches' order.
constexpr int kQuitCommand = 110;
constexpr int kFirstShaderCommand = 200;
constexpr int kLastShaderCommand = 299;
constexpr int kShowLightLocationsCommand = 300;
constexpr int kShowAxisCommand = 301;
constexpr int kShowBasePlaneCommand = 302;
constexpr int kRotateSceneCommand = 303;
constexpr int kShowRotationPointCommand = 304;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void createMenuBar(HWND window);
void setMenuCheck(HMENU menu, UINT commandId, bool checked);
void refreshMenuChecks(HWND window);

void createGLContext(HWND window, HDC* deviceContext, HGLRC* renderingContext);
