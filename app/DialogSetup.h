#pragma once
// WM_INITDIALOG of the main dialog.
#include <windows.h>

// Layout, widgets, discovery, drop-down, size and centre.
void InitialiseMainDialog(HWND window);
