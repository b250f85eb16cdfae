#include "jui/CopyMapping.h"

PixelMove ColumnsMove(int first, int x, int y, int c, int j) { return PixelMove{c, j, x + c - first, y + j}; }

PixelMove ColumnsTransposedMove(int first, int x, int y, int c, int j) {
  return PixelMove{first + j, c - first, x + c - first, y + j};
}

PixelMove RegionMove(int left, int top, int sx, int sy, int i, int j) {
  return PixelMove{sx + i, sy + j, left + i, top + j};
}

PixelMove RegionTransposedMove(int left, int top, int sx, int sy, int i, int j) {
  return PixelMove{sx + i, sy + j, left + j, top + i};
}
