#include "jui/BlankBitmap.h"

BITMAPINFO TopDownRgbFormat(int width, int height) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  return format;
}

HBITMAP CreateBlankBitmap(HDC dc, int width, int height) {
  const BITMAPINFO format = TopDownRgbFormat(width, height);
  return CreateDIBitmap(dc, &format.bmiHeader, 0, nullptr, &format, DIB_RGB_COLORS);
}
