#pragma once
// Geometry of the selector's picker popup: its size, its cells and their
// numbers, the cell a click picks, and where the popup opens.
#include "jui/PlainRect.h"

constexpr int kPickerWidth = 198;

int PickerHeightFor(int maximum);
// Cell i (0 <= i <= maximum): a 26 x 26 square in the popup.
PlainRect PickerCellRect(int i);
// Where the two-digit number of cell i is written.
void PickerNumberOrigin(int i, int* x, int* y);
// The two characters drawn as cell i's number: i + 1 with at least two
// digits ("01" to "99"); from cell 100 on, the first two digits.
void PickerCellNumber(int i, char (&number)[3]);
// The value a release at (x, y) picks, lowered to maximum.
int PickedValue(int x, int y, int maximum);

// The anchor point (screen coordinates): one pixel up and left of the box's
// top-left corner; when the box is nearer than the popup's height to the top
// of the client area, (.., client top + box bottom + popup height) instead.
void PickerAnchor(const PlainRect& box, int clientScreenX, int clientScreenY, int pickerHeight, int* ax,
                  int* ay);

// The popup's rectangle: right and bottom edges at the anchor, then moved
// inside `monitor` (the work area of the monitor that holds the selector)
// when it would stick out of it.
PlainRect PlacePicker(int ax, int ay, int width, int height, const PlainRect& monitor);
