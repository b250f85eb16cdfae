#include "jui/FocusOrder.h"

#include <oleacc.h>

#include "jui/JElement.h"

namespace {

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

bool HoldsFocus(HWND control, HWND focus) { return control && focus && (focus == control || IsChild(control, focus)); }

}  // namespace

void JFocusOrder::Init(JContext* ctx) {
  context = ctx;
  count = 0;
}

void JFocusOrder::Set(const JTabStop* order, int n) {
  for (int i = 0; i < count; ++i)
    if (stops[i].element) stops[i].element->accChildId = 0;
  count = 0;
  for (int i = 0; i < n && i < kMaxTabStops; ++i) {
    stops[count] = order[i];
    if (order[i].element) order[i].element->accChildId = count + 1;
    ++count;
  }
  if (context->window) NotifyWinEvent(EVENT_OBJECT_REORDER, context->window, OBJID_CLIENT, CHILDID_SELF);
  KeepAvailable();
}

void JFocusOrder::KeepAvailable() {
  HWND focus = GetFocus();
  const bool onWidget = context->focus != nullptr;
  bool onControl = false;
  for (int i = 0; i < count; ++i)
    if (HoldsFocus(stops[i].control, focus)) onControl = true;
  if (!onWidget && !onControl) return;  // the focus is somewhere the order does not cover
  const int current = Focused();
  if (current >= 0 && Available(current)) return;
  for (int i = 0; i < count; ++i) {
    if (Available(i)) {
      Focus(i);
      return;
    }
  }
}

int JFocusOrder::Focused() const {
  HWND focus = GetFocus();
  for (int i = 0; i < count; ++i) {
    if (stops[i].element) {
      if (context->focus == stops[i].element) return i;
    } else if (HoldsFocus(stops[i].control, focus)) {
      return i;
    }
  }
  return -1;
}

bool JFocusOrder::Available(int i) const {
  if (i < 0 || i >= count) return false;
  const JTabStop& stop = stops[i];
  if (stop.element) return stop.element->focusable && stop.element->visible && stop.element->active;
  return stop.control && ControlShowsInClient(context->window, stop.control);
}

void JFocusOrder::Focus(int i) {
  if (i < 0 || i >= count) return;
  HWND window = context->window;
  JElement* previous = context->focus;
  JElement* next = stops[i].element;
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
  SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stops[i].control), TRUE);
}

void JFocusOrder::Move(int direction) {
  if (count == 0) return;
  const int current = Focused();
  for (int step = 1; step <= count; ++step) {
    int i;
    if (current < 0)
      i = direction > 0 ? step - 1 : count - step;
    else
      i = ((current + direction * step) % count + count) % count;
    if (Available(i)) {
      Focus(i);
      return;
    }
  }
}

// Following the window's UI state: cues appear once the keyboard is used.
void JFocusOrder::ShowCues(int shown) {
  if (context->focusCues == shown) return;
  context->focusCues = shown;
  if (context->focus) context->focus->Redraw();
}
