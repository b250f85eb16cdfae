#pragma once
// Paints one window through a JContext: back buffer, paint cycle and mouse
// dispatch.
#include <windows.h>

#include "jui/JContext.h"
#include "jui/PreparedDC.h"

class JElement;
class JAccessibleWindow;

// One place in the window's order: a widget, or one of the window's own
// controls (a system drop-down). The order is both the Tab order and the
// list of children that assistive technology sees.
struct JTabStop {
  JElement* element;
  HWND control;
};

constexpr int kMaxTabStops = 16;

class JPanel {
 public:
  JContext* context;   // not owned
  PAINTSTRUCT paint;   // rcPaint is the update rectangle PaintAll tiles
  RECT windowRect;     // (0, 0, client width, client height)
  HBITMAP backBitmap;  // selected into context->backDC
  HDC outerPaintDC;    // the paintDC a paint found in place, given back at its end
  PreparedDC paintScope;  // the paint's own window DC, from BeginPaint to EndPaint

  // Binds the panel to context and instance and clears the context; returns this.
  JPanel* Init(JContext* context, HINSTANCE instance);
  void CreateBackBuffer(HWND window);

  // The paint cycle: BeginPaint, PaintAll, the application's own text, EndPaint.
  HDC BeginPaint();
  void PaintAll();
  void EndPaint();

  // Offers mouse messages (0x200 to 0x20E) to the active elements in list
  // order; returns 1 when one of them consumed it.
  int DispatchMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // --- keyboard focus and assistive technology (KeyboardDispatch.cpp) ---
  JTabStop order[kMaxTabStops];
  int orderCount;
  JAccessibleWindow* accessible;  // made on the first request; lives for the run

  // Sets the order (visual order; at most kMaxTabStops). Widgets get their
  // accessible child ids from it. When the focus is on a place that can no
  // longer take it, it moves to the first one that can.
  void SetTabOrder(const JTabStop* stops, int count);
  // Call after showing or hiding widgets wholesale: a focus that can no
  // longer stay where it is moves on to the first place that can take it.
  void KeepFocusAvailable();
  // The place that has the focus, -1 for none.
  int FocusedStop() const;
  // Whether place i can take the focus now: a focusable, visible and active
  // widget, or a visible, enabled control inside the client area.
  bool StopAvailable(int i) const;
  // Moves the focus to place i.
  void FocusStop(int i);

  // Offers the dialog procedure's messages for the keyboard, the UI state
  // and WM_GETOBJECT. Returns 1 when the message is handled; *result is
  // then what the dialog procedure returns (DWLP_MSGRESULT set as needed).
  int DispatchKeyboard(HWND window, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

 private:
  void MoveFocus(int direction);
  void ShowFocusCues(int shown);
};
