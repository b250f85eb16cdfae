#pragma once
// The places of a window's order as the accessibility bridge sees them: it
// reads them and may move the focus, and knows nothing else of the panel.
#include <windows.h>

class JElement;

// One place in the window's order: a widget, or one of the window's own
// controls (a system drop-down). The order is both the Tab order and the
// list of children that assistive technology sees.
struct JTabStop {
  JElement* element;
  HWND control;
};

class JFocusPlaces {
 public:
  virtual int Count() const = 0;
  // Place i, 0 to Count() - 1.
  virtual JTabStop Place(int i) const = 0;
  // The place that has the focus, -1 for none.
  virtual int Focused() const = 0;
  // Whether place i can take the focus now.
  virtual bool Available(int i) const = 0;
  // Moves the focus to place i.
  virtual void Focus(int i) = 0;

 protected:
  ~JFocusPlaces() = default;
};
