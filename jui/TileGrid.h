#pragma once
// The tiling rule: copies of a w x h picture laid on a grid anchored at the
// destination's origin, clipped to a rectangle. Destination pixel (x, y)
// receives picture pixel (x mod w, y mod h), so retiling any part of an area
// gives exactly the pixels that tiling the whole area gives.
#include "jui/PlainRect.h"

// One block copy: width x height pixels from (sx, sy) of the picture to (x, y).
struct TileBlit {
  int x;
  int y;
  int width;
  int height;
  int sx;
  int sy;
};

// Walks the grid cells that meet the rectangle, row by row from the top and,
// within a row, from the left. Source blocks always lie inside the picture.
struct TileWalk {
  int w;
  int h;
  PlainRect area;
  int column;     // grid column of the next cell
  int row;        // grid row of the next cell
  int lastColumn;
  int lastRow;
};

void StartTiles(TileWalk* walk, int w, int h, const PlainRect& area);
// Fills *blit with the next copy and returns true, or returns false at the end.
bool NextTile(TileWalk* walk, TileBlit* blit);

// Floor modulo: the picture pixel that destination coordinate v maps to.
int TileSourceOf(int v, int size);
