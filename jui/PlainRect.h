#pragma once
// Rectangles and pointer positions as the widgets see them, without the
// system headers: plain integers, so the rules also build natively.
#include <cstdint>

struct PlainRect {
  int left;
  int top;
  int right;
  int bottom;
};

// The low 16 bits of v, read as a signed number.
int SignedLow16(int v);

// (x, y, x + width, y + height), every argument cut to a signed 16-bit value.
PlainRect MakePlainRect(int x, int y, int width, int height);

// Pointer coordinates packed in a mouse message's lParam, each read as an
// unsigned 16-bit number (a pointer left of or above the client area reads
// as a large value and never hits).
int PointerX(std::uintptr_t lParam);
int PointerY(std::uintptr_t lParam);

// Button hit test: strict on all four sides.
bool InsideStrict(const PlainRect& r, int x, int y);
// Link and selector hit test: inclusive on all four sides.
bool InsideInclusive(const PlainRect& r, int x, int y);

bool IsEmptyRect(const PlainRect& r);
