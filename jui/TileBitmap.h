#pragma once
// Filling an area with copies of a JBitmap (BitBlt); a null record or a
// record with a null memDC draws nothing.
#include <windows.h>

#include "jui/JBitmap.h"

// Fills rect (destination coordinates) with copies of the picture on a grid
// anchored at the destination's origin.
void TileBitmap(const JBitmap* bitmap, HDC dc, const RECT& rect);
