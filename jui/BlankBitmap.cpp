#include "jui/BlankBitmap.h"

HBITMAP CreateBlankBitmap(HDC dc, int width, int height) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  return CreateDIBitmap(dc, &header, 0, nullptr, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS);
}
