#include "jui/SelectorRules.h"

#include <climits>

int WrapSelectorValue(int value, int minimum, int maximum) {
  if (value > maximum) value = minimum;
  if (value < 0) value = maximum;
  return value;
}

void SelectorRange(int count, int* toggle, int* maximum) {
  if (count <= 0) {
    *toggle = 1;
    *maximum = -count;
  } else {
    *toggle = 0;
    *maximum = count;
  }
}

void SelectorLabelOffsets(std::uint32_t placement, int* labelDx, int* labelDy) {
  *labelDx = static_cast<int>(placement >> 16) - 0x8000;
  *labelDy = static_cast<int>(placement & 0xFFFFu) - 0x8000;
}

bool StripFrameColumns(int value, int stripHeight, int stripWidth, bool wide, int* start, int* end) {
  const long long h = stripHeight;
  const long long first = wide ? 2LL * value * h : value * h;
  const long long last = first + (wide ? 2 * h : h);
  if (value < 0 || stripHeight <= 0 || last > stripWidth) return false;
  *start = static_cast<int>(first);
  *end = static_cast<int>(last);
  return true;
}

bool GridFrameOrigin(int value, int stripWidth, int stripHeight, int* sx, int* sy) {
  if (value < 0) return false;
  const int x = (value % kGridColumns) * kGridCell;
  const long long y = static_cast<long long>(value / kGridColumns) * kGridCell;
  if (x + kGridCell > stripWidth || y + kGridCell > stripHeight) return false;
  *sx = x;
  *sy = static_cast<int>(y);
  return true;
}

PlainRect SelectorBox(int left, int top, int stripHeight, bool grid, bool wide) {
  PlainRect box{left, top, 0, 0};
  const int h = grid ? kGridCell : stripHeight;
  box.right = left + h;
  box.bottom = top + h;
  if (wide) box.right = left + 2 * stripHeight;
  return box;
}

int SelectorRelativeValue(int value, int minimum) { return value - minimum; }

int SelectorClampedValue(int v, int minimum, int maximum) {
  int value = v + minimum;
  if (value < minimum) value = minimum;
  if (value > maximum) value = maximum;
  return value;
}

namespace {

bool Odd(int v) { return v % 2 != 0; }

// The stepped value is taken one wider than int: a value stored verbatim
// (SetValue of a value holder) may sit at either end of the range.
SelectorStep Changed(long long value, int minimum, int maximum, bool post) {
  SelectorStep s{};
  const int first = value > maximum ? minimum : (value < INT_MIN ? -1 : static_cast<int>(value));
  s.value = WrapSelectorValue(first, minimum, maximum);
  s.draw = true;
  s.post = post;
  s.hover = -1;
  s.consumed = 1;
  return s;
}

}  // namespace

SelectorStep StepSelector(int value, int minimum, int maximum, bool toggle, bool grid, bool inside,
                          SelectorEvent event) {
  SelectorStep s{};
  s.value = value;
  s.hover = -1;
  if (!inside) {
    if (event == kSelectorMove) s.hover = 0;
    if (toggle && Odd(value)) {
      // Leaving the box cancels a half-done toggle without a notification.
      s.value = value - 1;
      s.draw = true;
    }
    return s;
  }
  switch (event) {
    case kSelectorMove:
      s.hover = 1;
      return s;
    case kSelectorLeftDown:
    case kSelectorRightDown:
      if (grid) {
        if (event == kSelectorLeftDown)
          s.openPicker = true;
        else
          s.postNext = true;
        return s;
      }
      return Changed(static_cast<long long>(value) + (event == kSelectorLeftDown ? 1 : -1), minimum, maximum, !toggle);
    case kSelectorLeftUp:
    case kSelectorRightUp:
      if (toggle && !grid && Odd(value))
        return Changed(static_cast<long long>(value) + (event == kSelectorLeftUp ? 1 : -1), minimum, maximum, true);
      return s;
    default:
      return s;
  }
}
