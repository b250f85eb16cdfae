#include "jui/TileGrid.h"

namespace {

int FloorDiv(int v, int size) {
  int q = v / size;
  if (v % size != 0 && v < 0) --q;
  return q;
}

int Max(int a, int b) { return a > b ? a : b; }
int Min(int a, int b) { return a < b ? a : b; }

}  // namespace

int TileSourceOf(int v, int size) { return v - FloorDiv(v, size) * size; }

void StartTiles(TileWalk* walk, int w, int h, const PlainRect& area) {
  walk->w = w;
  walk->h = h;
  walk->area = area;
  if (w <= 0 || h <= 0 || IsEmptyRect(area)) {
    // Nothing to lay: a picture without pixels, or an empty rectangle.
    walk->row = 1;
    walk->lastRow = 0;
    walk->column = walk->lastColumn = 0;
    return;
  }
  walk->column = FloorDiv(area.left, w);
  walk->row = FloorDiv(area.top, h);
  walk->lastColumn = FloorDiv(area.right - 1, w);
  walk->lastRow = FloorDiv(area.bottom - 1, h);
}

bool NextTile(TileWalk* walk, TileBlit* blit) {
  if (walk->row > walk->lastRow) return false;
  const int w = walk->w;
  const int h = walk->h;
  const PlainRect& a = walk->area;
  const int cellX = walk->column * w;
  const int cellY = walk->row * h;
  blit->x = Max(cellX, a.left);
  blit->y = Max(cellY, a.top);
  blit->width = Min(cellX + w, a.right) - blit->x;
  blit->height = Min(cellY + h, a.bottom) - blit->y;
  blit->sx = blit->x - cellX;
  blit->sy = blit->y - cellY;
  if (++walk->column > walk->lastColumn) {
    walk->column = FloorDiv(a.left, w);
    ++walk->row;
  }
  return true;
}
