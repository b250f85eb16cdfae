#pragma once
// Where each pixel of the per-pixel copies comes from and goes to.

struct PixelMove {
  int sx;  // source pixel
  int sy;
  int dx;  // destination pixel
  int dy;
};

// Column copies (plain and transparent): column c (first <= c < end), row j.
PixelMove ColumnsMove(int first, int x, int y, int c, int j);
// Transposed column copy: the same destination, source with x and y swapped.
PixelMove ColumnsTransposedMove(int first, int x, int y, int c, int j);
// Region copy: block pixel (i, j) of the block at (sx, sy) to (left + i, top + j).
PixelMove RegionMove(int left, int top, int sx, int sy, int i, int j);
// Transposed region copy: block pixel (i, j) to (left + j, top + i).
PixelMove RegionTransposedMove(int left, int top, int sx, int sy, int i, int j);
