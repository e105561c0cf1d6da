// The thread's message queue, as the other files of the platform layer feed
// it.
#pragma once

#include "platform/win32.h"

namespace platform {

// The screen position of the cursor that posted messages carry in MSG::pt.
void noteCursorPosition(int x, int y);

// Removes the messages posted to a window that is being destroyed, as
// DestroyWindow does on Windows.
void discardMessagesFor(HWND window);

// Makes the next PeekMessageA let the toolkit run even if X has nothing
// pending (a widget to delete, requests to flush).
void requestToolkitPass();

}  // namespace platform
