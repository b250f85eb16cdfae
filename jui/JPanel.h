#pragma once
// Paints one window through a JContext: back buffer, paint cycle, and the
// dispatch of mouse and keyboard messages.
#include <windows.h>

#include "jui/FocusOrder.h"
#include "jui/JContext.h"
#include "jui/PreparedDC.h"

class JAccessibleWindow;

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

  // Offers the dialog procedure's messages for the keyboard, the UI state
  // and WM_GETOBJECT. Returns 1 when the message is handled; *result is
  // then what the dialog procedure returns (DWLP_MSGRESULT set as needed).
  int DispatchKeyboard(HWND window, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

  JFocusOrder focusOrder;         // the Tab order, also what assistive technology sees
  JAccessibleWindow* accessible;  // made on the first request; lives for the run
};
