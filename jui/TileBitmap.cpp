#include "jui/TileBitmap.h"
#include "jui/RectConversion.h"
#include "jui/TileGrid.h"

void TileBitmap(const JBitmap* bitmap, HDC dc, const RECT& rect) {
  if (!bitmap || !bitmap->memDC) return;
  TileWalk walk;
  StartTiles(&walk, bitmap->width, bitmap->height, ToPlainRect(rect));
  TileBlit blit;
  while (NextTile(&walk, &blit))
    BitBlt(dc, blit.x, blit.y, blit.width, blit.height, bitmap->memDC, blit.sx, blit.sy, SRCCOPY);
}
