// The panel's mouse dispatch: mouse messages offered to the active elements in order.
#include "jui/JElement.h"
#include "jui/JPanel.h"
#include "jui/PreparedDC.h"

int JPanel::DispatchMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (static_cast<WORD>(message - WM_MOUSEFIRST) > 14) return 0;  // WM_MOUSEMOVE .. WM_MOUSEHWHEEL
  if (context->elementCount <= 0) return 0;

  // The DC this dispatch draws into; whatever held the slot before (the
  // application's set-up DC, or an outer dispatch) gets it back afterwards.
  HDC outer = context->paintDC;
  PreparedDC prepared(window);
  HDC dc = prepared.dc();
  context->paintDC = dc;

  int consumed = 0;
  for (int i = 0; i < context->elementCount && !consumed; ++i) {
    JElement* element = context->elements[i];
    if (element && element->active && element->OnMouse(window, message, wParam, lParam)) consumed = 1;
    context->paintDC = dc;  // a paint inside the element's modal loop restored its own
  }

  prepared.Release();
  context->paintDC = outer;
  return consumed;
}
