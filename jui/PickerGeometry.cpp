#include "jui/PickerGeometry.h"

#include <cstdio>

#include "jui/SelectorRules.h"

namespace {

constexpr int kCellPitchX = 44;
constexpr int kCellPitchY = 36;

}  // namespace

int PickerHeightFor(int maximum) { return (maximum / kGridColumns) * kCellPitchY + 50; }

PlainRect PickerCellRect(int i) {
  const int left = 18 + (i % kGridColumns) * kCellPitchX;
  const int top = 10 + (i / kGridColumns) * kCellPitchY;
  return PlainRect{left, top, left + kGridCell, top + kGridCell};
}

void PickerNumberOrigin(int i, int* x, int* y) {
  *x = 4 + (i % kGridColumns) * kCellPitchX;
  *y = 12 + (i / kGridColumns) * kCellPitchY;
}

int PickedValue(int x, int y, int maximum) {
  int column = (x - 9) / kCellPitchX;
  int row = (y - 5) / kCellPitchY;
  if (column < 0) column = 0;
  if (row < 0) row = 0;
  const int value = column + kGridColumns * row;
  return value > maximum ? maximum : value;
}

void PickerAnchor(const PlainRect& box, int clientScreenX, int clientScreenY, int pickerHeight, int* ax,
                  int* ay) {
  *ax = box.left + clientScreenX - 1;
  *ay = box.top + clientScreenY - 1;
  if (box.top < pickerHeight) *ay = clientScreenY + box.bottom + pickerHeight;
}

PlainRect PlacePicker(int ax, int ay, int width, int height, const PlainRect& monitor) {
  int left = ax - width;
  int top = ay - height;
  if (left + width > monitor.right) left = monitor.right - width;
  if (top + height > monitor.bottom) top = monitor.bottom - height;
  if (left < monitor.left) left = monitor.left;
  if (top < monitor.top) top = monitor.top;
  return PlainRect{left, top, left + width, top + height};
}

void PickerCellNumber(int i, char (&number)[3]) {
  // The number as "%0.2i" writes it; only its first two characters are drawn.
  char text[24];
  std::snprintf(text, sizeof text, "%.2lld", static_cast<long long>(i) + 1);
  number[0] = text[0];
  number[1] = text[1];
  number[2] = '\0';
}
