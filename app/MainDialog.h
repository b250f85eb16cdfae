#pragma once
// The main dialog's procedure: the message, command and notification routes.
#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the Install button exactly while at least one component is checked.
void UpdateInstallButton(HWND window);
