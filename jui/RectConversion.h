#pragma once
// The one conversion between the system's RECT and the toolkit rules'
// PlainRect, and a RECT made from a position and a size.
#include <windows.h>

#include "jui/PlainRect.h"

inline PlainRect ToPlainRect(const RECT& r) {
  return PlainRect{static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                   static_cast<int>(r.bottom)};
}

inline RECT ToRect(const PlainRect& r) {
  RECT out;
  SetRect(&out, r.left, r.top, r.right, r.bottom);
  return out;
}

// (x, y, x + width, y + height), each argument cut to a signed 16-bit value.
inline RECT MakeRect(int x, int y, int width, int height) { return ToRect(MakePlainRect(x, y, width, height)); }
