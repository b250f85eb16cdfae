#pragma once
// One picture selected into its own memory DC. Filled by LoadCachedBitmap;
// the GDI objects belong to the BitmapCache (or to the record alone when the
// cache was full) and are given back with ReleaseCachedBitmap.
#include <windows.h>

struct JBitmap {
  int width;
  int height;
  HDC memDC;       // null: no image (tiling draws nothing, pixel copies draw black)
  int fresh;       // what LoadCachedBitmap returned when the record was filled
  HBITMAP bitmap;
  RECT extent;     // (0, 0, width, height) when LoadCachedBitmap created the picture
};

// The see-through colour of the transparent copies; only this exact value.
constexpr COLORREF TransparentColour = 0xFFFFFF;
