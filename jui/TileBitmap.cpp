#include "jui/BitmapDraw.h"
#include "jui/TileGrid.h"

void TileBitmap(const JBitmap* bitmap, HDC dc, const RECT& rect) {
  if (!bitmap || !bitmap->memDC) return;
  TileWalk walk;
  StartTiles(&walk, bitmap->width, bitmap->height,
             PlainRect{static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
                       static_cast<int>(rect.bottom)});
  TileBlit blit;
  while (NextTile(&walk, &blit))
    BitBlt(dc, blit.x, blit.y, blit.width, blit.height, bitmap->memDC, blit.sx, blit.sy, SRCCOPY);
}
