#include "dib_canvas.h"

DibCanvas::DibCanvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<DWORD*>(bits);
  oldBitmap_ = SelectObject(dc_, bitmap_);
  Fill(fill);
}

DibCanvas::~DibCanvas() {
  SelectObject(dc_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF DibCanvas::Pixel(int x, int y) const {
  GdiFlush();
  const DWORD v = bits_[y * width_ + x];  // 0x00RRGGBB
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void DibCanvas::Fill(COLORREF colour) {
  RECT all = {0, 0, width_, height_};
  FillRect(all, colour);
}

void DibCanvas::FillRect(const RECT& r, COLORREF colour) {
  GdiFlush();
  const DWORD v = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) bits_[y * width_ + x] = v;
}

std::string DibCanvas::At(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

COLORREF PixelOf(HDC dc, int x, int y) { return GetPixel(dc, x, y); }
