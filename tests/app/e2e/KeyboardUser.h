#pragma once
// A user at the keyboard: real key events through SendInput, which the
// system delivers to the window that has the focus, as it does a keyboard's,
// and where the installer's focus is.
#include <windows.h>

// Brings window to the front (keys go to the foreground window), then
// presses and releases key, with Shift held when shift is set. The keys
// wait in the installer's input queue: what they do is to be awaited.
void PressKey(HWND window, UINT key, bool shift = false);

// The window that has the keyboard focus in window's thread (null: none).
HWND FocusOf(HWND window);
