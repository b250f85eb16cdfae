#include "jui/JAncor.h"

#include <oleacc.h>

#include "common/bounded.h"
#include "jui/GdiScope.h"
#include "jui/RectConversion.h"
#include "jui/ScaleRules.h"

namespace {

constexpr COLORREF kLinkColour = 0xFF0000;
constexpr COLORREF kVisitedColour = 0x800080;

}  // namespace

JAncor::JAncor(JContext* ctx, const char* text, const RECT& position, const char* link, int command)
    : JElement(ctx, text), visited(0), linkRect(), linkText() {
  SetRect(&linkRect, position.left, position.top, position.left, position.top);
  CopyCut(linkText, sizeof linkText, link);
  commandId = command;
  focusable = 1;
  accRole = ROLE_SYSTEM_LINK;
  CopyCut(accName, sizeof accName, linkText);
}

void JAncor::Draw(HDC dc) {
  EraseFocusCue(dc);
  SelectedObject font(dc, LinkFont);
  SetTextColor(dc, visited == 1 ? kVisitedColour : kLinkColour);
  const int length = lstrlenA(linkText);
  TextOutA(dc, linkRect.left, linkRect.top, linkText, length);
  SetTextColor(dc, 0);
  SIZE extent = {};
  GetTextExtentPoint32A(dc, linkText, length, &extent);
  linkRect.right = linkRect.left + extent.cx;
  linkRect.bottom = linkRect.top + extent.cy;
  RECT ring = linkRect;
  InflateRect(&ring, ScaledLength(2, context->dpi), ScaledLength(1, context->dpi));
  DrawFocusCue(dc, ring);
}

int JAncor::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
  const bool inside = InsideInclusive(ToPlainRect(linkRect), PointerX(static_cast<std::uintptr_t>(lParam)),
                                      PointerY(static_cast<std::uintptr_t>(lParam)));
  const UINT code = message & 0xFFFF;
  if (!inside) {
    if (code == WM_MOUSEMOVE) ShowHover(0);
    return 0;
  }
  if (code == WM_MOUSEMOVE) {
    ShowHover(1);
    SetCursor(LinkCursor);
    return 1;
  }
  if (code == WM_LBUTTONDOWN) {
    visited = 1;
    Notify(window, commandId);
    return 1;
  }
  return 0;
}

int JAncor::HandlesKey(UINT key) { return commandId != 0 && (key == VK_RETURN || key == VK_SPACE); }

int JAncor::Activate(HWND window) {
  if (commandId == 0 || !active) return 0;
  visited = 1;
  Notify(window, commandId);
  return 1;
}

int JAncor::AccState() {
  int state = JElement::AccState() | STATE_SYSTEM_LINKED;
  if (visited) state |= STATE_SYSTEM_TRAVERSED;
  return state;
}

RECT JAncor::AccBounds() { return linkRect; }

const char* JAncor::AccAction() { return commandId != 0 ? "Jump" : ""; }
