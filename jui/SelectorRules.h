#pragma once
// The selector's value rules: wrap, stepping and toggling, frame geometry,
// label placement, clamped access. No system calls.
#include <cstdint>

#include "jui/PlainRect.h"

constexpr int kGridCell = 26;       // grid frames are 26 x 26
constexpr int kGridColumns = 4;     // four frames per grid row

// After every change: above maximum wraps to minimum; then below 0 (not
// below minimum) wraps to maximum.
int WrapSelectorValue(int value, int minimum, int maximum);

// Count argument: 0 or less selects toggle mode with maximum = -count.
void SelectorRange(int count, int* toggle, int* maximum);

// The 32-bit label placement: two 16-bit halves, each biased by 0x8000.
void SelectorLabelOffsets(std::uint32_t placement, int* labelDx, int* labelDy);

// Source columns [start, end) of frame `value` in a strip of the given
// height and width (frames twice as wide with `wide`). Returns false when the
// frame does not lie wholly inside the strip; nothing is drawn then.
bool StripFrameColumns(int value, int stripHeight, int stripWidth, bool wide, int* start, int* end);

// Top-left of grid frame `value` in the strip; false when the cell does not
// lie wholly inside a strip of that size.
bool GridFrameOrigin(int value, int stripWidth, int stripHeight, int* sx, int* sy);

// The box the selector draws and hit-tests.
PlainRect SelectorBox(int left, int top, int stripHeight, bool grid, bool wide);

// GetValue and SetValue of a selector that is not a plain value holder.
int SelectorRelativeValue(int value, int minimum);
int SelectorClampedValue(int v, int minimum, int maximum);

// Mouse events that the selector tells apart.
enum SelectorEvent {
  kSelectorMove,
  kSelectorLeftDown,
  kSelectorRightDown,
  kSelectorLeftUp,
  kSelectorRightUp,
  kSelectorOther,
};

// What one mouse message does to a selector (grid picking excluded).
struct SelectorStep {
  int value;        // value afterwards
  bool draw;        // redraw the box
  bool post;        // post the command id
  bool postNext;    // post the command id + 1 (grid, right press)
  bool openPicker;  // grid, left press
  int hover;        // -1 leave the hover line, 0 clear it, 1 show it
  int consumed;     // OnMouse result (for openPicker: decided by the pick)
};

SelectorStep StepSelector(int value, int minimum, int maximum, bool toggle, bool grid, bool inside,
                          SelectorEvent event);
