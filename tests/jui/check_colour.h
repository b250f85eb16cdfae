#pragma once
// Colour checks that print both values in hex with the pixel position.
#include <windows.h>

#include <cstdio>
#include <string>

inline std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
  return text;
}

#define EXPECT_PIXEL(expected, seen, x, y) \
  EXPECT_EQ(Hex(expected), Hex(seen)) << "pixel (" << (x) << ", " << (y) << ")"
