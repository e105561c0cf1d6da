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

// Removes the key-downs still queued for a window that lost the focus.
void discardKeyDownsFor(HWND window);

// Lets the toolkit run at the next PeekMessageA (a widget to delete...).
void requestToolkitPass();

}  // namespace platform
