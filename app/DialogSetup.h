#pragma once
// WM_INITDIALOG of the main dialog.
#include <windows.h>

// Layout, widgets, discovery, drop-down, size and centre.
void InitialiseMainDialog(HWND window);

// The window moved to a display of another scale (WM_DPICHANGED): the
// layout, pictures and fonts at dpi, the window at the suggested rectangle's
// position with the client area the new scale gives, all drawn again.
void RescaleMainDialog(HWND window, int dpi, const RECT& suggested);
