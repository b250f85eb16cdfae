#pragma once
// Command 1 (Install, Enter): installs in the choosing phase and enters the
// completion screen on success; closes the dialog once installed.
#include <windows.h>

// Returns TRUE when it has closed the dialog.
BOOL OnInstallCommand(HWND window);
