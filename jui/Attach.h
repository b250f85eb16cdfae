#pragma once
// Binding the main panel to its window.
#include <windows.h>

// Attaches the main panel (ElementSlots[kSlotPanel]) to window: fonts and
// cursor when missing, status rectangle (null: empty), back buffer and
// background picture.
void Attach(HWND window, unsigned int backgroundId, int cursorId, const RECT* statusRect);
