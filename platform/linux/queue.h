// The thread's message queue, as the other files of the platform layer feed
// it. Builds on the window registry.
#pragma once

#include "platform/win32.h"

namespace platform {

// Queues a message that stands for keyboard or mouse input (the close box
// included), in the order the input came, behind every posted message, and
// merges it as Windows merges input the program has not taken yet: a mouse
// move into the move still waiting, an auto-repeat key-down into the
// waiting key-down of the same key (adding to its repeat count). Wheel
// turns stay one message a notch.
void postInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Removes the queued messages of a window that is being destroyed, as
// DestroyWindow does on Windows.
void discardMessagesFor(HWND window);

// Removes the key-downs still queued for a window that has lost the
// keyboard focus: their key-ups now go to another program.
void discardKeyDownsFor(HWND window);

// Makes the next PeekMessageA let the toolkit run even if X has nothing
// pending (a widget to delete, requests to flush).
void requestToolkitPass();

}  // namespace platform
