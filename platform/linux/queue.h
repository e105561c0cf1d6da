// The thread's message queue, as the other files of the platform layer feed
// it. Builds on the window registry.
#pragma once

#include "platform/win32.h"

namespace platform {

// Queues keyboard or mouse input (the close box included) behind every
// posted message, merged as Windows merges input not taken yet.
void postInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Removes the queued messages of a window being destroyed.
void discardMessagesFor(HWND window);

// Removes the key-downs still queued for a window that has lost the
// keyboard focus: their key-ups now go to another program.
void discardKeyDownsFor(HWND window);

// Makes the next PeekMessageA let the toolkit run even if X has nothing
// pending (a widget to delete, requests to flush).
void requestToolkitPass();

}  // namespace platform
