// The toolkit's shared state and its small drawing helpers.
#include "common/ElementSlots.h"
#include "jui/JContext.h"
#include "jui/JPanel.h"
#include "jui/RectConversion.h"

JContext MainContext;
HFONT UiFont;
HFONT LinkFont;
HCURSOR LinkCursor;
COLORREF HoverTextColor;
int TextLeft = 4;
COLORREF FocusCueLight = 0xFFFFFF;
COLORREF FocusCueDark = 0;

HFONT CreateUiFont(int height, int underline) {
  LOGFONTA font = {};
  font.lfHeight = height;
  font.lfUnderline = underline ? 1 : 0;
  lstrcpynA(font.lfFaceName, "Name", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

void DrawStaticText(const char* text, int y) {
  JPanel* panel = static_cast<JPanel*>(ElementSlots[kSlotPanel]);
  JContext* context = panel ? panel->context : &MainContext;
  if (!context || !context->paintDC || !text) return;
  TextOutA(context->paintDC, TextLeft, y, text, lstrlenA(text));
}

void BlitRect(const RECT& rect, HDC destination, HDC source) {
  BitBlt(destination, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, rect.left,
         rect.top, SRCCOPY);
}

void PutText(const char* text, HDC dc, int x, int y) {
  if (!text) return;
  TextOutA(dc, x, y, text, lstrlenA(text));
}

RECT MakeRect(int x, int y, int width, int height) {
  return ToRect(MakePlainRect(x, y, width, height));
}
