// The grid selector's picker: a modal popup showing every frame as a
// numbered cell; the first left-button release in it picks.
#include <cstdio>

#include "jui/BitmapDraw.h"
#include "jui/JSelector.h"
#include "jui/PickerGeometry.h"
#include "jui/SelectorRules.h"

JSelector* PickerSelector;
JContext* PickerContext;
LPARAM PickerClick;
int PickerPicked;
int PickerWidth;
int PickerHeight;

namespace {

constexpr DWORD kPickerStyle = 0x80800080;  // WS_POPUP | WS_BORDER | DS_MODALFRAME

// DLGTEMPLATE without controls, then no menu, the standard class and an
// empty title: 24 bytes, padded to 28.
struct alignas(4) PickerTemplate {
  DLGTEMPLATE dialog;
  WORD menu;
  WORD windowClass;
  WORD title;
  WORD padding[3];
};

RECT ToRect(const PlainRect& r) {
  RECT out;
  SetRect(&out, r.left, r.top, r.right, r.bottom);
  return out;
}

INT_PTR OnInitDialog(HWND popup, WPARAM, LPARAM lParam) {
  PickerClick = 0;
  PickerPicked = 0;
  const PickerOpening* opening = reinterpret_cast<const PickerOpening*>(lParam);
  if (!opening) return FALSE;
  const RECT& work = opening->workArea;
  const PlainRect placed =
      PlacePicker(opening->anchor.x, opening->anchor.y, PickerWidth, PickerHeight,
                  PlainRect{static_cast<int>(work.left), static_cast<int>(work.top), static_cast<int>(work.right),
                            static_cast<int>(work.bottom)});
  SetWindowPos(popup, HWND_TOP, placed.left, placed.top, PickerWidth, PickerHeight, 0);
  return FALSE;
}

INT_PTR OnPaint(HWND popup, WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  BeginPaint(popup, &paint);
  HDC dc = GetDC(popup);
  HGDIOBJ oldFont = UiFont ? SelectObject(dc, UiFont) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  TileBitmap(PickerContext->background, dc, paint.rcPaint);
  const JSelector* selector = PickerSelector;
  const JBitmap* strip = selector->strip;
  for (int i = 0; i <= selector->maximum; ++i) {
    int sx = 0;
    int sy = 0;
    if (strip && GridFrameOrigin(i, strip->width, strip->height, &sx, &sy)) {
      const RECT cell = ToRect(PickerCellRect(i));
      if (selector->flags & JS_TRANSPOSE)
        CopyRegionTransposed(strip, dc, cell, sx, sy);
      else
        CopyRegion(strip, dc, cell, sx, sy);
    }
    char number[16];
    std::snprintf(number, sizeof number, "%.2d", (i + 1) % 100);
    int x = 0;
    int y = 0;
    PickerNumberOrigin(i, &x, &y);
    TextOutA(dc, x, y, number, 2);
  }
  if (oldFont) SelectObject(dc, oldFont);
  ReleaseDC(popup, dc);
  EndPaint(popup, &paint);
  return FALSE;
}

INT_PTR OnCommand(HWND popup, WPARAM wParam, LPARAM) {
  if (LOWORD(wParam) != IDCANCEL) return FALSE;
  EndDialog(popup, static_cast<INT_PTR>(wParam));
  return TRUE;
}

INT_PTR OnRightButtonDown(HWND popup, WPARAM, LPARAM) {
  SendMessageA(popup, WM_COMMAND, IDCANCEL, 0);
  return FALSE;
}

INT_PTR OnLeftButtonUp(HWND popup, WPARAM wParam, LPARAM lParam) {
  PickerClick = lParam;
  PickerPicked = 1;
  return OnRightButtonDown(popup, wParam, lParam);
}

struct PickerHandler {
  UINT message;
  INT_PTR (*handle)(HWND, WPARAM, LPARAM);
};

const PickerHandler kPickerHandlers[] = {
    {WM_INITDIALOG, OnInitDialog}, {WM_PAINT, OnPaint},           {WM_COMMAND, OnCommand},
    {WM_LBUTTONUP, OnLeftButtonUp}, {WM_RBUTTONDOWN, OnRightButtonDown},
};

}  // namespace

INT_PTR CALLBACK PickerProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const PickerHandler& h : kPickerHandlers)
    if (h.message == (message & 0xFFFF)) return h.handle(popup, wParam, lParam);
  return FALSE;
}

int JSelector::OpenPicker(HWND window) {
  PickerContext = context;
  PickerSelector = this;

  PickerTemplate dialogTemplate = {};
  dialogTemplate.dialog.style = kPickerStyle;

  RECT client;
  GetClientRect(window, &client);
  POINT origin = {client.left, client.top};
  ClientToScreen(window, &origin);

  PickerWidth = kPickerWidth;
  PickerHeight = PickerHeightFor(maximum);

  PickerOpening opening = {};
  int ax = 0;
  int ay = 0;
  PickerAnchor(PlainRect{static_cast<int>(hitRect.left), static_cast<int>(hitRect.top),
                         static_cast<int>(hitRect.right), static_cast<int>(hitRect.bottom)},
               origin.x, origin.y, PickerHeight, &ax, &ay);
  opening.anchor.x = ax;
  opening.anchor.y = ay;
  // Keep the popup on the monitor that shows the selector's box.
  RECT box = hitRect;
  OffsetRect(&box, origin.x, origin.y);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &monitor))
    opening.workArea = monitor.rcWork;
  else
    SetRect(&opening.workArea, -32768, -32768, 32767, 32767);

  DialogBoxIndirectParamA(context->instance, &dialogTemplate.dialog, window, PickerProc,
                          reinterpret_cast<LPARAM>(&opening));
  if (!PickerPicked) return 0;
  value = PickedValue(LOWORD(PickerClick), HIWORD(PickerClick), maximum);
  return CompleteChange(window);
}
