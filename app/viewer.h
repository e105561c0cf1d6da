// The viewer's start-up and one turn of its frame loop, shared by the entry
// point and the benchmark so that both run exactly the same steps.
#pragma once

#include <string>

#include "platform/win32.h"
#include "shaders/shader_set.h"

// Registers the class "verrine" and opens the window "Verrine" (500 x 495 at
// 20, 40), after resetting the last mouse position. Programs built on the
// viewer give their own title.
HWND openViewerWindow(HINSTANCE instance, const char* title = "Verrine");

// With the window's context current: the Application, the FrameTimer, the
// menu bar and its first check marks. The data is read from `resources`,
// through `reader` when one is given; an observer is told about each shader
// program built. The viewer takes the defaults.
void startViewer(HWND window, const std::string& resources = kResourcesFolder,
                 const ShaderBuildObserver& observer = nullptr, SceneReader* reader = nullptr);

// One iteration of the frame loop: at most one message, one frame, the swap
// and the timing. False, with nothing drawn, when the message was WM_QUIT.
bool runFrame(HDC deviceContext, MSG* message);

// After the loop: releases the context and the device context and destroys
// the window. The Application and the FrameTimer end with the process.
void closeViewer(HWND window, HDC deviceContext, HGLRC renderingContext);
