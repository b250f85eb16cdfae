#pragma once
// The abstract widget: registration in a context, visibility, hover text and
// the notification message.
#include <windows.h>

#include "jui/JContext.h"

// Posted by a widget to the window whose mouse message it handled; wParam is
// its command id, lParam 0.
constexpr UINT WM_JNOTIFY = 0x0500;

constexpr int kHoverTextSize = 212;

class JElement {
 public:
  char hoverText[kHoverTextSize];  // empty: none; cut at 211 characters
  int active;                      // 1: receives mouse messages
  int visible;                     // 1: drawn; 0: drawing erases it
  int erased;                      // 1: hidden and already erased once
  int hoverShown;                  // hover state ShowHover last drew
  int commandId;                   // posted with WM_JNOTIFY; 0 posts nothing
  JContext* context;               // not owned

  // Registers the element at the end of the context's list.
  JElement(JContext* context, const char* hoverText);

  // The eight virtual slots, in order.
  virtual int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual void Draw(HDC dc) = 0;
  virtual int Reserved1();
  virtual int GetValue();
  virtual int Reserved2();
  virtual int Reserved3();
  virtual void SetValue(int value);
  virtual ~JElement();

  // on != 0: visible and active; 0: hidden and inactive. Then Redraw.
  void Show(int on);
  // Draws into the context's paintDC, or a window DC of its own; a hidden
  // element is erased once.
  void Redraw();
  // Shows (1) or clears (0) the hover text in the status rectangle, only on change.
  void ShowHover(int state);

 protected:
  // PostMessageA(window, WM_JNOTIFY, id, 0) when id is not 0.
  static void Notify(HWND window, int id);
  // Draw now: into the context's paintDC, or a window DC of its own when none is set.
  void DrawNow();
};
