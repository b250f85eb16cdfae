#include "jui/PlainRect.h"

int SignedLow16(int v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<unsigned>(v) & 0xFFFFu)); }

PlainRect MakePlainRect(int x, int y, int width, int height) {
  const int left = SignedLow16(x);
  const int top = SignedLow16(y);
  return PlainRect{left, top, left + SignedLow16(width), top + SignedLow16(height)};
}

int PointerX(std::uintptr_t lParam) { return static_cast<int>(lParam & 0xFFFFu); }
int PointerY(std::uintptr_t lParam) { return static_cast<int>((lParam >> 16) & 0xFFFFu); }

bool InsideStrict(const PlainRect& r, int x, int y) { return r.left < x && x < r.right && r.top < y && y < r.bottom; }

bool InsideInclusive(const PlainRect& r, int x, int y) {
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool IsEmptyRect(const PlainRect& r) { return r.right <= r.left || r.bottom <= r.top; }
