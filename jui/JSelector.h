#pragma once
// The value widget: a box showing one frame of a bitmap strip chosen by
// `value`, with a label beside it. Step mode, toggle mode (a bitmap check
// box) and grid mode with a picker popup.
#include <windows.h>

#include "jui/JElement.h"

// Style bits.
constexpr int JS_TRANSPOSE = 0x01;    // frames copied with x and y swapped
constexpr int JS_GRID = 0x02;         // 26 x 26 cells, 4 per row; left press opens the picker
constexpr int JS_WIDE = 0x04;         // strip frames twice as wide as high
constexpr int JS_TRANSPARENT = 0x08;  // background under the box, white see-through
constexpr int JS_VALUE_ONLY = 0x10;   // a plain value holder: never drawn, ignores the mouse

constexpr int kSelectorKeySize = 40;
constexpr int kSelectorLabelSize = 40;

class JSelector : public JElement {
 public:
  int value;       // absolute; also the frame shown
  RECT hitRect;    // the box
  RECT eraseRect;  // cleared when drawn hidden
  int flags;
  JBitmap* strip;  // owned
  int minimum;
  int maximum;
  char componentKey[kSelectorKeySize];
  int toggle;      // 1 toggle mode, 0 step mode
  int labelDx;     // label this far right of the box's left edge
  int labelDy;     // and this far above its top edge
  char label[kSelectorLabelSize];

  // position: left/top place the box; right/bottom are the width and height
  // of the area cleared when hidden. labelPlacement: two 16-bit halves
  // (dx, dy) each biased by 0x8000. count <= 0: toggle mode, maximum -count.
  JSelector(JContext* context, const char* hoverText, const RECT& position, unsigned int stripId,
            unsigned int labelPlacement, const char* label, int minimum, int count, int commandId, int flags,
            const char* componentKey);

  // Places the box again, as the constructor does (with the context's
  // scale): the strip is loaded anew; value and state stay.
  void Place(const RECT& position, unsigned int stripId, unsigned int labelPlacement);

  int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Draw(HDC dc) override;
  int GetValue() override;
  void SetValue(int v) override;
  ~JSelector() override;

  // Space steps it (toggle mode: checks or unchecks), as a click does.
  int HandlesKey(UINT key) override;
  int Activate(HWND window) override;
  int AccState() override;
  RECT AccBounds() override;
  const char* AccAction() override;
  // Toggle mode: the box shows a tick (2 and its pressed look 3).
  bool Checked() const;

 private:
  // Where the label is drawn, as wide and high as its text in dc's font.
  RECT LabelRect(HDC dc) const;
  int OpenPicker(HWND window);
  int CompleteChange(HWND window);
};

// Picker state: valid while a picker is open (it is modal, so one at a time).
extern JSelector* PickerSelector;
extern JContext* PickerContext;
extern LPARAM PickerClick;  // packed client position of the picking release
extern int PickerPicked;    // 1 once a release picked a cell (also at position 0, 0)
extern int PickerWidth;
extern int PickerHeight;

// Where the popup opens: the anchor (its right and bottom edge, screen
// coordinates, not cut to 16 bits) and the work area of the monitor that
// holds the selector, which the popup is kept inside.
struct PickerOpening {
  POINT anchor;
  RECT workArea;
};

// Dialog procedure of the picker popup; its init parameter points to a PickerOpening.
INT_PTR CALLBACK PickerProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam);
