// The value widget and, for its grid mode, the picker popup: a modal popup
// showing every frame as a numbered cell; the first left-button release in
// it picks.
#include "jui/JSelector.h"

#include <oleacc.h>

#include "common/bounded.h"
#include "jui/BitmapCache.h"
#include "jui/GdiScope.h"
#include "jui/PickerGeometry.h"
#include "jui/PixelCopies.h"
#include "jui/PreparedDC.h"
#include "jui/RectConversion.h"
#include "jui/ScaleRules.h"
#include "jui/ScaledPictures.h"
#include "jui/SelectorRules.h"
#include "jui/TextDrawing.h"
#include "jui/TileBitmap.h"

namespace {

SelectorEvent EventOf(UINT message) {
  switch (message & 0xFFFF) {
    case WM_MOUSEMOVE:
      return kSelectorMove;
    case WM_LBUTTONDOWN:
      return kSelectorLeftDown;
    case WM_RBUTTONDOWN:
      return kSelectorRightDown;
    case WM_LBUTTONUP:
      return kSelectorLeftUp;
    case WM_RBUTTONUP:
      return kSelectorRightUp;
    default:
      return kSelectorOther;
  }
}

}  // namespace

JSelector::JSelector(JContext* ctx, const char* text, const RECT& position, unsigned int stripId,
                     unsigned int labelPlacement, const char* labelText, int minimumValue, int count, int command,
                     int styleFlags, const char* key)
    : JElement(ctx, text),
      value(minimumValue),
      hitRect(),
      eraseRect(),
      flags(styleFlags),
      strip(nullptr),
      minimum(minimumValue),
      maximum(0),
      componentKey(),
      toggle(0),
      labelDx(0),
      labelDy(0),
      label() {
  CopyCut(componentKey, sizeof componentKey, key);
  // A plain value holder keeps only its value range and command id; it has no geometry and no strip.
  commandId = command;
  SelectorRange(count, &toggle, &maximum);
  if (flags & JS_VALUE_ONLY) return;
  focusable = 1;
  accRole = toggle ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_SPINBUTTON;

  Place(position, stripId, labelPlacement);
  CopyCut(label, sizeof label, labelText);
  CopyCut(accName, sizeof accName, label);
}

void JSelector::Place(const RECT& position, unsigned int stripId, unsigned int labelPlacement) {
  if (flags & JS_VALUE_ONLY) return;
  if (strip) {
    ReleaseCachedBitmap(strip);
    delete strip;
  }
  hitRect = position;
  strip = new JBitmap();
  strip->fresh = LoadPictureAtDpi(stripId, context->dpi, strip, context->instance, context->paintDC);
  SetRect(&eraseRect, position.left, position.top, position.left + position.right, position.top + position.bottom);
  hitRect = ToRect(SelectorBox(position.left, position.top, strip->height, (flags & JS_GRID) != 0,
                               (flags & JS_WIDE) != 0));
  SelectorLabelOffsets(labelPlacement, &labelDx, &labelDy);
}

JSelector::~JSelector() {
  if (!strip) return;
  ReleaseCachedBitmap(strip);
  delete strip;
  strip = nullptr;
}

int JSelector::GetValue() { return (flags & JS_VALUE_ONLY) ? value : SelectorRelativeValue(value, minimum); }

void JSelector::SetValue(int v) { value = (flags & JS_VALUE_ONLY) ? v : SelectorClampedValue(v, minimum, maximum); }

void JSelector::Draw(HDC dc) {
  if ((flags & JS_VALUE_ONLY) || !strip) return;
  EraseFocusCue(dc);
  if (!visible) {
    TileBitmap(context->background, dc, eraseRect);
    return;
  }
  HDC back = context->backDC;
  const bool transpose = (flags & JS_TRANSPOSE) != 0;
  if (flags & JS_GRID) {
    int sx = 0;
    int sy = 0;
    // A value without a cell in the strip leaves the box as it was.
    if (!GridFrameOrigin(value, strip->width, strip->height, &sx, &sy)) return;
    if (transpose)
      CopyRegionTransposed(strip, back, hitRect, sx, sy);
    else
      CopyRegion(strip, back, hitRect, sx, sy);
    BlitRect(hitRect, dc, back);
    return;
  }
  int start = 0;
  int end = 0;
  if (!StripFrameColumns(value, strip->height, strip->width, (flags & JS_WIDE) != 0, &start, &end)) return;
  if (transpose) {
    CopyColumnsTransposed(strip, back, start, hitRect.left, end, hitRect.top);
  } else if (flags & JS_TRANSPARENT) {
    if (context->background) TileBitmap(context->background, back, hitRect);
    CopyColumnsTransparent(strip, back, start, hitRect.left, end, hitRect.top);
  } else {
    CopyColumns(strip, back, start, hitRect.left, end, hitRect.top);
  }
  BlitRect(hitRect, dc, back);
  PutText(label, dc, hitRect.left + labelDx, hitRect.top - labelDy);
  if (context->focus == this && context->focusCues) {
    RECT ring = LabelRect(dc);
    InflateRect(&ring, ScaledLength(2, context->dpi), ScaledLength(1, context->dpi));
    DrawFocusCue(dc, ring);
  }
}

int JSelector::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (flags & JS_VALUE_ONLY) return 0;
  const bool inside = InsideInclusive(ToPlainRect(hitRect), PointerX(static_cast<std::uintptr_t>(lParam)),
                                      PointerY(static_cast<std::uintptr_t>(lParam)));
  const SelectorStep step =
      StepSelector(value, minimum, maximum, toggle != 0, (flags & JS_GRID) != 0, inside, EventOf(message));
  if (step.hover >= 0) ShowHover(step.hover);
  if (step.openPicker) return OpenPicker(window);
  value = step.value;
  if (step.draw) DrawNow();
  if (step.post) Notify(window, commandId);
  if (step.post) Announce(EVENT_OBJECT_STATECHANGE);
  if (step.postNext && commandId != 0) Notify(window, commandId + 1);
  return step.consumed;
}

int JSelector::CompleteChange(HWND window) {
  value = WrapSelectorValue(value, minimum, maximum);
  DrawNow();
  Notify(window, commandId);
  Announce(EVENT_OBJECT_STATECHANGE);
  return 1;
}

// --- keyboard and assistive technology -----------------------------------

int JSelector::HandlesKey(UINT key) { return key == VK_SPACE && !(flags & (JS_VALUE_ONLY | JS_GRID)); }

int JSelector::Activate(HWND window) {
  if ((flags & (JS_VALUE_ONLY | JS_GRID)) || !visible || !active) return 0;
  if (toggle && (value & 1)) return 0;  // a mouse press is under way
  value += toggle ? 2 : 1;
  return CompleteChange(window);
}

bool JSelector::Checked() const { return toggle && value - minimum >= 2; }

int JSelector::AccState() {
  int state = JElement::AccState();
  if (Checked()) state |= STATE_SYSTEM_CHECKED;
  if (toggle && (value & 1)) state |= STATE_SYSTEM_PRESSED;
  return state;
}

RECT JSelector::LabelRect(HDC dc) const {
  const int x = hitRect.left + labelDx;
  const int y = hitRect.top - labelDy;
  SIZE extent = {0, 0};
  if (label[0]) GetTextExtentPoint32A(dc, label, lstrlenA(label), &extent);
  RECT rect = {x, y, x + extent.cx, y + extent.cy};
  return rect;
}

RECT JSelector::AccBounds() {
  RECT shown = hitRect;
  if ((flags & JS_GRID) || !label[0]) return shown;
  PreparedDC prepared(context->window);
  RECT text = LabelRect(prepared.dc());
  UnionRect(&shown, &shown, &text);
  return shown;
}

const char* JSelector::AccAction() {
  if (flags & (JS_VALUE_ONLY | JS_GRID)) return "";
  if (!toggle) return "Step";
  return Checked() ? "Uncheck" : "Check";
}

// --- the picker popup ----------------------------------------------------

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

INT_PTR OnInitDialog(HWND popup, WPARAM, LPARAM lParam) {
  PickerClick = 0;
  PickerPicked = 0;
  const PickerOpening* opening = reinterpret_cast<const PickerOpening*>(lParam);
  if (!opening) return FALSE;
  const RECT& work = opening->workArea;
  const PlainRect placed =
      PlacePicker(opening->anchor.x, opening->anchor.y, PickerWidth, PickerHeight, ToPlainRect(work));
  SetWindowPos(popup, HWND_TOP, placed.left, placed.top, PickerWidth, PickerHeight, 0);
  return FALSE;
}

INT_PTR OnPaint(HWND popup, WPARAM, LPARAM) {
  PaintScope paint(popup);
  PreparedDC prepared(popup);
  HDC dc = prepared.dc();
  TileBitmap(PickerContext->background, dc, paint.area());
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
    char number[3];
    PickerCellNumber(i, number);
    int x = 0;
    int y = 0;
    PickerNumberOrigin(i, &x, &y);
    TextOutA(dc, x, y, number, 2);
  }
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
  PickerAnchor(ToPlainRect(hitRect), origin.x, origin.y, PickerHeight, &ax, &ay);
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
