#pragma once
// The abstract widget: registration in a context, visibility, hover text and
// the notification message.
#include <windows.h>

#include "jui/JContext.h"

// Posted by a widget to the window whose mouse message it handled; wParam is
// its command id, lParam 0.
constexpr UINT WM_JNOTIFY = 0x0500;

constexpr int kHoverTextSize = 212;
constexpr int kAccessibleNameSize = 64;

class JElement {
 public:
  char hoverText[kHoverTextSize];  // empty: none; cut at 211 characters
  int active;                      // 1: receives mouse messages
  int visible;                     // 1: drawn; 0: drawing erases it
  int erased;                      // 1: hidden and already erased once
  int hoverShown;                  // hover state ShowHover last drew
  int commandId;                   // posted with WM_JNOTIFY; 0 posts nothing
  JContext* context;               // not owned

  // Keyboard and assistive technology. The widget classes set the defaults
  // (push button, link, check box: focusable); the application names them.
  int focusable;                   // 1: Tab stops here while it is visible and active
  int accRole;                     // ROLE_SYSTEM_* shown to assistive technology
  int accChildId;                  // its id among the window's accessible children; 0: none
  char accName[kAccessibleNameSize];        // name while visible
  char accHiddenName[kAccessibleNameSize];  // name while hidden; empty: the same as accName
  int cueDrawn;                    // 1: a focus cue is on the screen at cueRect
  RECT cueRect;

  // Registers the element at the end of the context's list.
  JElement(JContext* context, const char* hoverText);

  // The eight virtual slots, in order; the reserved ones, called by nothing, keep the table's layout.
  virtual int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual void Draw(HDC dc) = 0;
  virtual int Reserved1();
  virtual int GetValue();
  virtual int Reserved2();
  virtual int Reserved3();
  virtual void SetValue(int value);
  virtual ~JElement();

  // The keys the element acts on while it holds the focus (VK_SPACE,
  // VK_RETURN); OnKey acts on one of them. Activate is what the key, and the
  // default action of assistive technology, does: 1 when something happened.
  virtual int HandlesKey(UINT key);
  int OnKey(HWND window, UINT key);
  virtual int Activate(HWND window);
  // STATE_SYSTEM_* bits: visibility, focus and what the class adds.
  virtual int AccState();
  // Client-area rectangle of what the element shows.
  virtual RECT AccBounds();
  // The text of the default action ("Press", "Check", ...); empty: none.
  virtual const char* AccAction();

  // Names the element for assistive technology; hiddenName is used while it
  // is hidden (null: the same name).
  void SetAccessible(int role, const char* name, const char* hiddenName = nullptr);
  const char* AccName() const;
  // Tells assistive technology about a change (EVENT_OBJECT_*), when the
  // element is one of the window's accessible children.
  void Announce(DWORD event);

  // on != 0: visible and active; 0: hidden and inactive. Then Redraw.
  void Show(int on);
  // Draws into the context's paintDC, or a window DC of its own; a hidden
  // element is erased once.
  void Redraw();
  // Shows (1) or clears (0) the hover text in the status rectangle, only on change.
  void ShowHover(int state);
  // How much of hoverText the status rectangle shows: up to its first "@",
  // at most 200 characters. Assistive technology is told the same text.
  int ShownHoverLength() const;

 protected:
  // PostMessageA(window, WM_JNOTIFY, id, 0) when id is not 0.
  static void Notify(HWND window, int id);
  // Draw now: into the context's paintDC, or a window DC of its own when none is set.
  void DrawNow();
  // Draw's first and last steps for the focus cue: the background goes back
  // over a cue drawn before, and the cue is drawn around ring while the
  // element holds the focus and cues are shown. Both do nothing for a user
  // who has not touched the keyboard.
  void EraseFocusCue(HDC dc);
  void DrawFocusCue(HDC dc, const RECT& ring);
};
