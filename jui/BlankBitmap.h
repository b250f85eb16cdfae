#pragma once
// The bitmaps the toolkit makes of its own (the back buffer, the stand-in for
// a bitmap resource that does not load, the pictures drawn at other scales)
// and the one pixel format they share.
#include <windows.h>

// A top-down 24-bit bitmap compatible with dc, width x height; its pixels are not set.
HBITMAP CreateBlankBitmap(HDC dc, int width, int height);

// The toolkit's one pixel format: top-down 24-bit RGB, width x height.
BITMAPINFO TopDownRgbFormat(int width, int height);
