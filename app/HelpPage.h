#pragma once
// The maker's help page, opened in the user's browser as the signed-in
// user: the installer runs elevated, and a browser started by it directly
// would run elevated too.
#include <windows.h>

void ShowHelpPage(HWND window);
