// The per-pixel copies: every pixel read with GetPixel from the picture's
// memory DC and written with SetPixelV (SetPixel for the direct variant);
// and the rectangle copy between two DCs.
#include "jui/PixelCopies.h"
#include "jui/ColumnOrder.h"
#include "jui/CopyMapping.h"

namespace {

enum class Skip { None, White };

// A picture without memory DC reads black everywhere and skips nothing.
void MovePixel(const JBitmap* bitmap, HDC dc, const PixelMove& m, Skip skip, bool direct) {
  COLORREF colour = 0;
  if (bitmap->memDC) {
    colour = GetPixel(bitmap->memDC, m.sx, m.sy);
    if (skip == Skip::White && colour == TransparentColour) return;
  }
  if (direct)
    SetPixel(dc, m.dx, m.dy, colour);
  else
    SetPixelV(dc, m.dx, m.dy, colour);
}

void DrawCentreOut(const JBitmap* bitmap, HDC dc, int x, int y, bool direct) {
  if (!bitmap) return;
  const int width = bitmap->width;
  for (int i = 0; i < width; ++i) {
    const int col = CentreOutColumn(width, i);
    for (int row = 0; row < bitmap->height; ++row)
      MovePixel(bitmap, dc, PixelMove{col, row, x + col, y + row}, Skip::White, direct);
  }
}

template <typename Mapping>
void CopyColumnsWith(const JBitmap* bitmap, HDC dc, int first, int x, int end, int y, Skip skip, Mapping map) {
  if (!bitmap) return;
  for (int c = first; c < end; ++c)
    for (int j = 0; j < bitmap->height; ++j) MovePixel(bitmap, dc, map(first, x, y, c, j), skip, false);
}

template <typename Mapping>
void CopyRegionWith(const JBitmap* bitmap, HDC dc, const RECT& rect, int sx, int sy, Mapping map) {
  if (!bitmap) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  for (int i = 0; i < width; ++i)
    for (int j = 0; j < height; ++j)
      MovePixel(bitmap, dc, map(rect.left, rect.top, sx, sy, i, j), Skip::None, false);
}

}  // namespace

void DrawTransparent(const JBitmap* bitmap, HDC dc, int x, int y, int dx, int dy) {
  DrawCentreOut(bitmap, dc, x + dx, y + dy, false);
}

void DrawTransparentDirect(const JBitmap* bitmap, HDC dc, int x, int y) { DrawCentreOut(bitmap, dc, x, y, true); }

void CopyColumns(const JBitmap* bitmap, HDC dc, int first, int x, int end, int y) {
  CopyColumnsWith(bitmap, dc, first, x, end, y, Skip::None, ColumnsMove);
}

void CopyColumnsTransparent(const JBitmap* bitmap, HDC dc, int first, int x, int end, int y) {
  CopyColumnsWith(bitmap, dc, first, x, end, y, Skip::White, ColumnsMove);
}

void CopyColumnsTransposed(const JBitmap* bitmap, HDC dc, int first, int x, int end, int y) {
  CopyColumnsWith(bitmap, dc, first, x, end, y, Skip::None, ColumnsTransposedMove);
}

void CopyRegion(const JBitmap* bitmap, HDC dc, const RECT& rect, int sx, int sy) {
  CopyRegionWith(bitmap, dc, rect, sx, sy, RegionMove);
}

void CopyRegionTransposed(const JBitmap* bitmap, HDC dc, const RECT& rect, int sx, int sy) {
  CopyRegionWith(bitmap, dc, rect, sx, sy, RegionTransposedMove);
}

void BlitRect(const RECT& rect, HDC destination, HDC source) {
  BitBlt(destination, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, rect.left,
         rect.top, SRCCOPY);
}
