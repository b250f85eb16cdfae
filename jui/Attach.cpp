#include "jui/Attach.h"

#include "common/ElementSlots.h"
#include "jui/BitmapCache.h"
#include "jui/DisplayScale.h"
#include "jui/GdiScope.h"
#include "jui/JContext.h"
#include "jui/JPanel.h"
#include "jui/ScaledPictures.h"

void Attach(HWND window, unsigned int backgroundId, int cursorId, const RECT* statusRect) {
  JPanel* panel = static_cast<JPanel*>(ElementSlots[kSlotPanel]);
  if (!panel || !panel->context) return;
  JContext* context = panel->context;

  context->window = window;
  if (!UiFont) UiFont = CreateUiFont(UiFontHeight(context), 0);
  if (!LinkFont) LinkFont = CreateUiFont(UiFontHeight(context), 1);
  if (!LinkCursor) LinkCursor = LoadCursorA(context->instance, MAKEINTRESOURCEA(cursorId));
  if (statusRect)
    SetRect(&context->statusRect, statusRect->left, statusRect->top, statusRect->right, statusRect->bottom);
  else
    SetRect(&context->statusRect, 0, 0, 0, 0);

  panel->CreateBackBuffer(window);

  JBitmap* previous = context->background;
  JBitmap* background = new JBitmap();
  if (HDC dc = context->paintDC) {
    background->fresh = LoadPictureAtDpi(backgroundId, context->dpi, background, context->instance, dc);
  } else {
    WindowDC windowDC(window);
    background->fresh = LoadPictureAtDpi(backgroundId, context->dpi, background, context->instance, windowDC.dc());
  }
  context->background = background;
  if (previous) {
    // A second Attach: the new record holds its own reference first.
    ReleaseCachedBitmap(previous);
    delete previous;
  }
}
