#include "jui/TextDrawing.h"

#include "common/ElementSlots.h"
#include "jui/JContext.h"
#include "jui/JPanel.h"

void DrawStaticText(const char* text, int y) {
  JPanel* panel = static_cast<JPanel*>(ElementSlots[kSlotPanel]);
  JContext* context = panel ? panel->context : &MainContext;
  if (!context || !context->paintDC || !text) return;
  TextOutA(context->paintDC, TextLeft, y, text, lstrlenA(text));
}

void PutText(const char* text, HDC dc, int x, int y) {
  if (!text) return;
  TextOutA(dc, x, y, text, lstrlenA(text));
}
