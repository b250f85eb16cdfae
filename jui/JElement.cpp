#include "jui/JElement.h"

#include "common/bounded.h"
#include "jui/PixelCopies.h"
#include "jui/PreparedDC.h"
#include "jui/TileBitmap.h"

namespace {

constexpr int kShownHoverLength = 200;

// Hover text shown: up to the first "@", at most 200 characters.
int ShownHoverLength(const char* text) {
  int n = 0;
  while (n < kShownHoverLength && text[n] && text[n] != '@') ++n;
  return n;
}

}  // namespace

JElement::JElement(JContext* ctx, const char* text)
    : hoverText(), active(1), visible(1), erased(0), hoverShown(0), commandId(0), context(ctx) {
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
  if (on) {
    visible = 1;
    active = 1;
    erased = 0;
  } else {
    visible = 0;
    active = 0;
  }
  Redraw();
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
  if (state == 1) TextOutA(context->backDC, status.left, status.top, hoverText, ShownHoverLength(hoverText));
  BlitRect(status, context->paintDC, context->backDC);
  hoverShown = state;
}

void JElement::Notify(HWND window, int id) {
  if (id != 0) PostMessageA(window, WM_JNOTIFY, static_cast<WPARAM>(id), 0);
}
