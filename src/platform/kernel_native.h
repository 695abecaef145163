// What the native stand-in adds beyond the Win32 names: windows to hold a
// block list, and hooks that let tests count and fail movable allocations.
#pragma once

#ifndef _WIN32
#include "platform/kernel.h"

// A window that keeps user data and child windows. With a parent it is a
// child that answers the list box messages, under the given identifier.
HWND NativeCreateWindow(HWND parent, int id);
// Destroys the window and its children.
void NativeDestroyWindow(HWND window);

// Makes the allocation that comes `after` allocations from now fail (0 = the
// very next one); a negative value turns failing off.
void NativeFailAllocation(long after);
// Movable blocks allocated and not yet freed.
long NativeLiveGlobals();
#endif
