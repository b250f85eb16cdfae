#pragma once
// Pixels as the end-to-end tests compare them: 0xRRGGBB values of the
// screen (captured from the installer's window) or of a bitmap resource.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Hex.h"

constexpr std::uint32_t kSentinel = 0xFE01FE;  // never a colour of the artwork

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // top-down rows

  std::uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return kSentinel;
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
  // Writes a 24-bit BMP; returns false when the file cannot be written.
  bool SaveBmp(const std::string& path) const;
};

// The client area of window as it is on the screen, through a DIB
// pre-filled with the sentinel colour.
Picture CaptureClient(HWND window);

// A 24-bit BMP file (bottom-up or top-down), or an empty picture.
Picture ReadBmpFile(const std::string& path);

// Bitmap resource id of module (a 24-bit DIB, or an 8- or 4-bit palette
// one, plain or run-length encoded), or an empty picture.
Picture LoadBitmapResource(HMODULE module, int id);
