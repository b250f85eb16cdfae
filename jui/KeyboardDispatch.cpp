// Keyboard focus across the window's widgets and controls. Widgets are not
// windows: while one of them has the focus, the system's focus is on the
// window itself and the panel remembers which widget holds it. The dialog
// manager keeps its own meaning for every key the focused widget does not
// take: Tab arrives as WM_NEXTDLGCTL, Enter as the default command, Escape
// as IDCANCEL.
#include <oleacc.h>

#include "jui/AccessibleWindow.h"
#include "jui/JElement.h"
#include "jui/JPanel.h"

namespace {

constexpr LPARAM kRepeatBit = 0x40000000;  // WM_KEYDOWN: the key was already down

bool ControlShowsInClient(HWND window, HWND control) {
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  RECT client;
  RECT box;
  GetClientRect(window, &client);
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
  RECT common;
  return IntersectRect(&common, &client, &box) != 0;
}

}  // namespace

void JPanel::SetTabOrder(const JTabStop* stops, int count) {
  for (int i = 0; i < orderCount; ++i)
    if (order[i].element) order[i].element->accChildId = 0;
  orderCount = 0;
  for (int i = 0; i < count && i < kMaxTabStops; ++i) {
    order[orderCount] = stops[i];
    if (stops[i].element) stops[i].element->accChildId = orderCount + 1;
    ++orderCount;
  }
  if (context->window) NotifyWinEvent(EVENT_OBJECT_REORDER, context->window, OBJID_CLIENT, CHILDID_SELF);
  KeepFocusAvailable();
}

void JPanel::KeepFocusAvailable() {
  HWND focus = GetFocus();
  const bool onWidget = context->focus != nullptr;
  bool onControl = false;
  for (int i = 0; i < orderCount; ++i)
    if (order[i].control && focus && (focus == order[i].control || IsChild(order[i].control, focus))) onControl = true;
  if (!onWidget && !onControl) return;  // the focus is somewhere the order does not cover
  const int current = FocusedStop();
  if (current >= 0 && StopAvailable(current)) return;
  for (int i = 0; i < orderCount; ++i) {
    if (StopAvailable(i)) {
      FocusStop(i);
      return;
    }
  }
}

int JPanel::FocusedStop() const {
  HWND focus = GetFocus();
  for (int i = 0; i < orderCount; ++i) {
    if (order[i].element) {
      if (context->focus == order[i].element) return i;
    } else if (order[i].control && focus && (focus == order[i].control || IsChild(order[i].control, focus))) {
      return i;
    }
  }
  return -1;
}

bool JPanel::StopAvailable(int i) const {
  if (i < 0 || i >= orderCount) return false;
  const JTabStop& stop = order[i];
  if (stop.element) return stop.element->focusable && stop.element->visible && stop.element->active;
  return stop.control && ControlShowsInClient(context->window, stop.control);
}

void JPanel::FocusStop(int i) {
  if (i < 0 || i >= orderCount) return;
  HWND window = context->window;
  JElement* previous = context->focus;
  JElement* next = order[i].element;
  context->focus = next;
  if (previous && previous != next) previous->Redraw();
  if (next) {
    if (previous != next) next->Redraw();
    if (GetFocus() != window) SetFocus(window);
    if (GetFocus() != window) {
      // The control that lost the focus handed it on while letting go (the
      // drop-down's notification clicks another control): take it back.
      context->focus = next;
      SetFocus(window);
      next->Redraw();
    }
    next->Announce(EVENT_OBJECT_FOCUS);
    return;
  }
  // A control: the dialog manager moves the focus (and the default button) itself.
  SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(order[i].control), TRUE);
}

void JPanel::MoveFocus(int direction) {
  if (orderCount == 0) return;
  const int current = FocusedStop();
  for (int step = 1; step <= orderCount; ++step) {
    int i;
    if (current < 0)
      i = direction > 0 ? step - 1 : orderCount - step;
    else
      i = ((current + direction * step) % orderCount + orderCount) % orderCount;
    if (StopAvailable(i)) {
      FocusStop(i);
      return;
    }
  }
}

// Following the window's UI state: cues appear once the keyboard is used.
void JPanel::ShowFocusCues(int shown) {
  if (context->focusCues == shown) return;
  context->focusCues = shown;
  if (context->focus) context->focus->Redraw();
}

int JPanel::DispatchKeyboard(HWND window, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  *result = FALSE;
  switch (message) {
    case WM_NEXTDLGCTL:
      // Tab and Shift+Tab (wParam: backwards); a named control goes to the dialog manager.
      if (orderCount == 0 || LOWORD(lParam) != 0) return 0;
      // The dialog manager's way of saying "a key was used" (it sends it on
      // Tab itself on some systems; here the order is handled first).
      SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      ShowFocusCues(1);
      MoveFocus(wParam ? -1 : 1);
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
      ShowFocusCues(1);
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
        if (LOWORD(wParam) == UIS_CLEAR) ShowFocusCues(1);
        if (LOWORD(wParam) == UIS_SET) ShowFocusCues(0);
      }
      return 0;

    case WM_GETOBJECT: {
      if (orderCount == 0 || static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
      const LRESULT answer = AnswerGetObject(this, window, wParam);
      if (!answer) return 0;
      SetWindowLongPtrA(window, DWLP_MSGRESULT, answer);
      *result = TRUE;
      return 1;
    }

    default:
      return 0;
  }
}
