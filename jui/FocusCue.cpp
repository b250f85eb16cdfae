// The focus cue: a dotted frame around what the focused widget shows, each
// dot in the skin's light or dark colour, whichever stands out against the
// pixel it covers. Shown only once the keyboard has been used (the window's
// UI state, JContext::focusCues), so a user of the mouse alone never sees
// one, and nothing here draws for such a user.
#include "jui/TileBitmap.h"
#include "jui/JElement.h"

namespace {

// Perceived brightness, 0 to 255.
int Brightness(COLORREF colour) {
  return (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
}

void Dot(HDC dc, int x, int y) {
  const COLORREF under = GetPixel(dc, x, y);
  if (under == CLR_INVALID) return;  // off the window
  SetPixelV(dc, x, y, Brightness(under) < 128 ? FocusCueLight : FocusCueDark);
}

}  // namespace

void JElement::EraseFocusCue(HDC dc) {
  if (!cueDrawn) return;
  TileBitmap(context->background, dc, cueRect);
  cueDrawn = 0;
}

void JElement::DrawFocusCue(HDC dc, const RECT& ring) {
  if (context->focus != this || !context->focusCues || !visible) return;
  const int right = ring.right - 1;
  const int bottom = ring.bottom - 1;
  if (right <= ring.left || bottom <= ring.top) return;
  // Every other pixel, starting at the corner, as the system's own cue does.
  for (int x = ring.left; x <= right; x += 2) {
    Dot(dc, x, ring.top);
    Dot(dc, x, bottom);
  }
  for (int y = ring.top + 2; y < bottom; y += 2) {
    Dot(dc, ring.left, y);
    Dot(dc, right, y);
  }
  cueRect = ring;
  cueDrawn = 1;
}
