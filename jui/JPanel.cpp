// The panel: back buffer and paint cycle.
#include "jui/JPanel.h"

#include "jui/BlankBitmap.h"
#include "jui/GdiScope.h"
#include "jui/JElement.h"
#include "jui/TileBitmap.h"

JPanel* JPanel::Init(JContext* ctx, HINSTANCE instance) {
  context = ctx;
  context->instance = instance;
  context->elementCount = 0;
  context->background = nullptr;
  context->paintDC = nullptr;
  context->backDC = nullptr;
  backBitmap = nullptr;
  outerPaintDC = nullptr;
  context->focus = nullptr;
  context->focusCues = 0;
  focusOrder.Init(ctx);
  accessible = nullptr;
  return this;
}

void JPanel::CreateBackBuffer(HWND window) {
  GetWindowRect(window, &windowRect);
  POINT corner = {windowRect.right, windowRect.bottom};
  ScreenToClient(window, &corner);
  SetRect(&windowRect, 0, 0, corner.x, corner.y);

  WindowDC windowDC(window);
  HBITMAP oldBitmap = backBitmap;
  HDC oldBackDC = context->backDC;
  backBitmap = CreateBlankBitmap(windowDC.dc(), windowRect.right, windowRect.bottom);
  // The back buffer lives for the whole run; its bitmap and font stay selected.
  context->backDC = CreateCompatibleDC(windowDC.dc());
  SelectObject(context->backDC, backBitmap);
  if (UiFont) SelectObject(context->backDC, UiFont);
  SetBkMode(context->backDC, TRANSPARENT);

  // A second attach replaces the back buffer; the old one goes.
  if (oldBackDC) DeleteDC(oldBackDC);
  if (oldBitmap) DeleteObject(oldBitmap);
}

HDC JPanel::BeginPaint() {
  // On purpose: changes that follow at once (a list closing) join this update region and paint once.
  Sleep(50);
  ::BeginPaint(context->window, &paint);
  // A paint can arrive while a mouse dispatch holds paintDC (a modal loop
  // inside a widget); keep that DC aside and give it back at the end.
  outerPaintDC = context->paintDC;
  context->paintDC = paintScope.Acquire(context->window);
  return context->paintDC;
}

void JPanel::PaintAll() {
  if (context->background) TileBitmap(context->background, context->paintDC, paint.rcPaint);
  for (int i = 0; i < context->elementCount; ++i) {
    JElement* element = context->elements[i];
    if (element && element->visible) element->Draw(context->paintDC);
  }
}

void JPanel::EndPaint() {
  paintScope.Release();
  context->paintDC = outerPaintDC;
  outerPaintDC = nullptr;
  ::EndPaint(context->window, &paint);
}
