#pragma once
// Copies of a JBitmap's pixels with GetPixel and SetPixelV/SetPixel (a null
// record or one with a null memDC draws the whole area black), and the one
// rectangle copy between two DCs.
#include <windows.h>

#include "jui/JBitmap.h"

// The whole picture at (x + dx, y + dy), white skipped, columns centre-out.
void DrawTransparent(const JBitmap* bitmap, HDC dc, int x, int y, int dx, int dy);
// The same at (x, y), written with SetPixel (straight onto a window's DC).
void DrawTransparentDirect(const JBitmap* bitmap, HDC dc, int x, int y);

// Columns first .. end - 1, full height, the first one landing at (x, y).
void CopyColumns(const JBitmap* bitmap, HDC dc, int first, int x, int end, int y);
void CopyColumnsTransparent(const JBitmap* bitmap, HDC dc, int first, int x, int end, int y);
// Same destination area, source read with x and y swapped: (first + j, c - first).
void CopyColumnsTransposed(const JBitmap* bitmap, HDC dc, int first, int x, int end, int y);

// The (right - left) x (bottom - top) block at (sx, sy) into rect.
void CopyRegion(const JBitmap* bitmap, HDC dc, const RECT& rect, int sx, int sy);
// The same block mirrored across its diagonal: block pixel (i, j) to (left + j, top + i).
void CopyRegionTransposed(const JBitmap* bitmap, HDC dc, const RECT& rect, int sx, int sy);

// Copies one rectangle from source to the same place in destination (BitBlt).
void BlitRect(const RECT& rect, HDC destination, HDC source);
