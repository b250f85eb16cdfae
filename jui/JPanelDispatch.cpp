// The panel's dispatch: mouse messages offered to the active elements in
// order, and the keyboard to the widget that holds the focus. The dialog
// manager keeps its own meaning for every key the focused widget does not
// take: Tab arrives as WM_NEXTDLGCTL, Enter as the default command, Escape
// as IDCANCEL.
#include "jui/AccessibleWindow.h"
#include "jui/JElement.h"
#include "jui/JPanel.h"
#include "jui/PreparedDC.h"

namespace {

constexpr LPARAM kRepeatBit = 0x40000000;  // WM_KEYDOWN: the key was already down

}  // namespace

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

int JPanel::DispatchKeyboard(HWND window, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  *result = FALSE;
  switch (message) {
    case WM_NEXTDLGCTL:
      // Tab and Shift+Tab (wParam: backwards); a named control goes to the dialog manager.
      if (focusOrder.count == 0 || LOWORD(lParam) != 0) return 0;
      // The dialog manager's way of saying "a key was used" (it sends it on
      // Tab itself on some systems; here the order is handled first).
      SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      focusOrder.ShowCues(1);
      focusOrder.Move(wParam ? -1 : 1);
      *result = TRUE;
      return 1;

    case WM_GETDLGCODE: {
      // Asked by the dialog manager for a key on the window itself: take the
      // keys the focused widget acts on, leave the others to the dialog.
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      JElement* focus = context->focus;
      if (!focus || !msg || msg->message != WM_KEYDOWN || GetFocus() != window) return 0;
      if (!focus->HandlesKey(static_cast<UINT>(msg->wParam))) return 0;
      SetWindowLongPtrA(window, DWLP_MSGRESULT, DLGC_WANTMESSAGE);
      *result = TRUE;
      return 1;
    }

    case WM_KEYDOWN: {
      JElement* focus = context->focus;
      if (!focus || GetFocus() != window || !focus->HandlesKey(static_cast<UINT>(wParam))) return 0;
      SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      focusOrder.ShowCues(1);
      if (!(lParam & kRepeatBit)) focus->OnKey(window, static_cast<UINT>(wParam));
      *result = TRUE;
      return 1;
    }

    case WM_SETFOCUS:
      // The window itself gets the focus back (activation, a closed message
      // box): a widget that had it keeps it, instead of the first control.
      if (!context->focus) return 0;
      *result = TRUE;
      return 1;

    case WM_KILLFOCUS: {
      // To one of the window's controls: no widget has the focus any more.
      HWND next = reinterpret_cast<HWND>(wParam);
      if (context->focus && next && IsChild(window, next)) {
        JElement* previous = context->focus;
        context->focus = nullptr;
        previous->Redraw();
      }
      return 0;
    }

    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
      // Windows' convention: focus cues hidden until the keyboard is used.
      // UIS_INITIALIZE is resolved by the system into one of the other two.
      if (HIWORD(wParam) & UISF_HIDEFOCUS) {
        if (LOWORD(wParam) == UIS_CLEAR) focusOrder.ShowCues(1);
        if (LOWORD(wParam) == UIS_SET) focusOrder.ShowCues(0);
      }
      return 0;

    case WM_GETOBJECT: {
      if (focusOrder.count == 0 || static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
      const LRESULT answer = AnswerGetObject(&accessible, &focusOrder, window, wParam);
      if (!answer) return 0;
      SetWindowLongPtrA(window, DWLP_MSGRESULT, answer);
      *result = TRUE;
      return 1;
    }

    default:
      return 0;
  }
}
