#pragma once
// Text drawn by the toolkit outside any widget.
#include <windows.h>

// TextOutA at (TextLeft, y) into the main panel's paintDC; nothing outside a paint.
void DrawStaticText(const char* text, int y);

// TextOutA(dc, x, y, text, its length).
void PutText(const char* text, HDC dc, int x, int y);
