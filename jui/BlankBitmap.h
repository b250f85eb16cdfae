#pragma once
// The one way the toolkit makes a bitmap of its own: the back buffer and the
// stand-in for a bitmap resource that does not load.
#include <windows.h>

// A top-down 24-bit bitmap compatible with dc, width x height; its pixels are not set.
HBITMAP CreateBlankBitmap(HDC dc, int width, int height);
