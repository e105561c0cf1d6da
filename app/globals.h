// Process-wide state shared by the entry point, the window procedure and
// the frame loop. Everything is created once and never destroyed.
#pragma once

#include "app/application.h"
#include "app/frame_timer.h"
#include "render/render_options.h"
#include "platform/win32.h"

extern Application* application;
extern FrameTimer* frameTimer;
extern HMENU menuBar;
extern int lastMouseX;
extern int lastMouseY;
