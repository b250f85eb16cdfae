#pragma once
// The pixels of the test bitmaps (written by make_test_art.py from the same
// formulas), as COLORREF values.
#include <windows.h>

#include "test_art_ids.h"

namespace art {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kNearWhite = 0xFEFFFF;

constexpr unsigned kBackgroundId = TEST_BACKGROUND_ID;
constexpr unsigned kButtonId = TEST_BUTTON_ID;
constexpr unsigned kCheckId = TEST_CHECK_ID;
constexpr unsigned kGridId = TEST_GRID_ID;
constexpr unsigned kTallId = TEST_TALL_ID;
constexpr unsigned kWideId = TEST_WIDE_ID;
constexpr unsigned kFormIds[] = {TEST_PAL8_ID, TEST_RLE8_ID, TEST_PAL4_ID, TEST_RLE4_ID};
constexpr int kFormWidth = 37, kFormHeight = 9;

inline COLORREF Background(int x, int y) { return RGB(x, 4 * y, 0x40); }
inline COLORREF BackgroundAt(int x, int y) { return Background(x % 100, y % 50); }

inline COLORREF Button(int x, int y) {
  if ((x + y) % 7 == 0) return kWhite;
  if ((x + y) % 7 == 3) return kNearWhite;
  return RGB(0x80 + x, 0x10 + 6 * y, 0x20);
}

inline COLORREF Check(int x, int y) {
  if ((3 * x + y) % 11 == 0) return kWhite;
  return RGB(4 * x + 1, 16 * y + 3, 0x55);
}

inline COLORREF Grid(int x, int y) { return RGB(2 * x + 1, 4 * y + 2, 0xA0); }
inline COLORREF Tall(int x, int y) { return RGB(3 * x, 9 * y, 0x30); }
inline COLORREF Wide(int x, int y) { return RGB(5 * x + 7, 20 * y + 11, 0x66); }

// Runs of five, then pixels no two alike, then a run to the odd last column.
inline COLORREF Forms(int x, int y) {
  const int i = x < 20 ? (x / 5 + y) % 12 : x < 31 ? (x * 7 + y) % 12 : (y * 3) % 12;
  return i == 11 ? kWhite : RGB(0x10 * i + 5, 0xF0 - 0x0D * i, (0x37 * i) & 0xFF);
}

}  // namespace art
