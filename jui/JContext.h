#pragma once
// The drawing state shared by the panel and every widget, and the toolkit's
// fonts, cursor and colours.
#include <windows.h>

#include "jui/JBitmap.h"

class JElement;

constexpr int kMaxElements = 150;

struct JContext {
  int elementCount;                  // registered elements, 0 to 150
  HINSTANCE instance;                // module holding bitmaps, cursor; owner of the picker
  HWND window;                       // the window being painted
  HDC paintDC;                       // set only during a paint, a mouse dispatch or dialog set-up
  HDC backDC;                        // memory DC of the back buffer, window-sized
  JBitmap* background;               // owned; tiled under everything; null until Attach
  JElement* elements[kMaxElements];  // in registration order
  RECT statusRect;                   // where hover texts are shown
  JElement* focus;                   // the widget holding the keyboard focus; null when a control or nothing has it
  int focusCues;                     // 1 once the keyboard has been used: the focused widget shows its cue
  int dpi;                           // the display's dots per inch; 0 or 96: the 100 % design's pixels
};

// The one context of the program (zero at start).
extern JContext MainContext;

// Toolkit globals, zero at start, living for the whole run.
extern HFONT UiFont;              // height 13, face "Name"; selected into every DC the toolkit prepares
extern HFONT LinkFont;            // the same, underlined
extern HCURSOR LinkCursor;        // shown over a link
extern COLORREF HoverTextColor;   // colour of hover texts
extern int TextLeft;              // x of DrawStaticText; starts at 4
extern COLORREF FocusCueLight;    // focus cue dots over dark pixels (white at start)
extern COLORREF FocusCueDark;     // focus cue dots over light pixels (black at start)

// LOGFONTA all zero except the height, underline and face name "Name".
HFONT CreateUiFont(int height, int underline);
// Makes UiFont a new font of that height. The old one stays alive: a DC
// prepared earlier (the back buffer's) may still have it selected.
void ReplaceUiFont(int height);
// TextLeft becomes its start, 4, plus margin; setting it again does not add up.
void SetTextLeftMargin(int margin);
// TextLeft becomes x (a start and margin already scaled to the display).
void SetTextLeft(int x);
