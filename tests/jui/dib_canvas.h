#pragma once
// A 32-bit top-down DIB section in a memory DC, pre-filled with a sentinel
// colour, whose pixels the tests read straight from its bits.
#include <windows.h>

#include <string>

class DibCanvas {
 public:
  static constexpr COLORREF kSentinel = RGB(0x12, 0x34, 0x56);

  DibCanvas(int width, int height, COLORREF fill = kSentinel);
  ~DibCanvas();
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF Pixel(int x, int y) const;
  void Fill(COLORREF colour);
  void FillRect(const RECT& r, COLORREF colour);
  // "(x, y)" for check messages.
  static std::string At(int x, int y);

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ oldBitmap_;
  DWORD* bits_;
};

// Pixels of any DC (a window's back buffer, for instance).
COLORREF PixelOf(HDC dc, int x, int y);
