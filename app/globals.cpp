#include "app/globals.h"

Application* application = nullptr;
FrameTimer* frameTimer = nullptr;
HMENU menuBar = nullptr;
int lastMouseX = 0;
int lastMouseY = 0;
