#include "jui/JElement.h"

#include <oleacc.h>

#include "common/bounded.h"
#include "jui/PixelCopies.h"
#include "jui/PreparedDC.h"
#include "jui/TileBitmap.h"

namespace {

constexpr int kShownHoverLength = 200;

}  // namespace

JElement::JElement(JContext* ctx, const char* text)
    : hoverText(),
      active(1),
      visible(1),
      erased(0),
      hoverShown(0),
      commandId(0),
      context(ctx),
      focusable(0),
      accRole(ROLE_SYSTEM_GRAPHIC),
      accChildId(0),
      accName(),
      accHiddenName(),
      cueDrawn(0),
      cueRect() {
  // The list holds 150 entries; an element beyond them is never painted or offered mouse messages.
  if (context->elementCount >= 0 && context->elementCount < kMaxElements)
    context->elements[context->elementCount++] = this;
  CopyCut(hoverText, sizeof hoverText, text);
}

int JElement::Reserved1() { return 0; }
int JElement::GetValue() { return 0; }
int JElement::Reserved2() { return 0; }
int JElement::Reserved3() { return 0; }
void JElement::SetValue(int) {}
JElement::~JElement() {}

void JElement::Show(int on) {
  const int wasVisible = visible;
  if (on) {
    visible = 1;
    active = 1;
    erased = 0;
  } else {
    visible = 0;
    active = 0;
  }
  Redraw();
  if (wasVisible == visible) return;
  Announce(visible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
  if (accHiddenName[0]) Announce(EVENT_OBJECT_NAMECHANGE);
}

void JElement::Redraw() {
  if (erased == 1) return;
  DrawNow();
  if (!visible) erased = 1;
}

void JElement::DrawNow() {
  if (context->paintDC) {
    Draw(context->paintDC);
    return;
  }
  PreparedDC prepared(context->window);
  Draw(prepared.dc());
}

void JElement::ShowHover(int state) {
  if (state == hoverShown || hoverText[0] == '\0') return;
  const RECT& status = context->statusRect;
  TileBitmap(context->background, context->backDC, status);
  SetTextColor(context->backDC, HoverTextColor);
  if (state == 1) TextOutA(context->backDC, status.left, status.top, hoverText, ShownHoverLength());
  BlitRect(status, context->paintDC, context->backDC);
  hoverShown = state;
}

int JElement::ShownHoverLength() const {
  int n = 0;
  while (n < kShownHoverLength && hoverText[n] && hoverText[n] != '@') ++n;
  return n;
}

void JElement::Notify(HWND window, int id) {
  if (id != 0) PostMessageA(window, WM_JNOTIFY, static_cast<WPARAM>(id), 0);
}

// --- keyboard and assistive technology -----------------------------------

int JElement::HandlesKey(UINT) { return 0; }

int JElement::OnKey(HWND window, UINT key) { return HandlesKey(key) ? Activate(window) : 0; }

int JElement::Activate(HWND) { return 0; }

int JElement::AccState() {
  int state = 0;
  if (!visible) state |= STATE_SYSTEM_INVISIBLE;
  if (focusable) {
    if (visible && active)
      state |= STATE_SYSTEM_FOCUSABLE;
    else if (visible)
      state |= STATE_SYSTEM_UNAVAILABLE;
  }
  if (context->focus == this && context->window && GetFocus() == context->window) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

RECT JElement::AccBounds() {
  RECT none = {0, 0, 0, 0};
  return none;
}

const char* JElement::AccAction() { return ""; }

void JElement::SetAccessible(int role, const char* name, const char* hiddenName) {
  accRole = role;
  CopyCut(accName, sizeof accName, name);
  CopyCut(accHiddenName, sizeof accHiddenName, hiddenName);
}

const char* JElement::AccName() const { return (!visible && accHiddenName[0]) ? accHiddenName : accName; }

void JElement::Announce(DWORD event) {
  if (accChildId > 0 && context->window) NotifyWinEvent(event, context->window, OBJID_CLIENT, accChildId);
}
