// The toolkit's shared state, changed only through the functions here.
#include "jui/JContext.h"

namespace {
constexpr int kTextLeftStart = 4;
}  // namespace

JContext MainContext;
HFONT UiFont;
HFONT LinkFont;
HCURSOR LinkCursor;
COLORREF HoverTextColor;
int TextLeft = kTextLeftStart;
COLORREF FocusCueLight = 0xFFFFFF;
COLORREF FocusCueDark = 0;

HFONT CreateUiFont(int height, int underline) {
  LOGFONTA font = {};
  font.lfHeight = height;
  font.lfUnderline = underline ? 1 : 0;
  lstrcpynA(font.lfFaceName, "Name", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

void ReplaceUiFont(int height) { UiFont = CreateUiFont(height, 0); }

void SetTextLeftMargin(int margin) { TextLeft = kTextLeftStart + margin; }

void SetTextLeft(int x) { TextLeft = x; }
