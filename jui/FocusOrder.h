#pragma once
// Keyboard focus across a window's widgets and controls, in one order.
// Widgets are not windows: while one of them has the focus, the system's
// focus is on the window itself and the context remembers which widget
// holds it (JContext::focus).
#include "jui/FocusPlaces.h"
#include "jui/JContext.h"

constexpr int kMaxTabStops = 16;

class JFocusOrder : public JFocusPlaces {
 public:
  JContext* context;  // not owned
  JTabStop stops[kMaxTabStops];
  int count;

  void Init(JContext* context);

  // Sets the order (visual order; at most kMaxTabStops). Widgets get their
  // accessible child ids from it. When the focus is on a place that can no
  // longer take it, it moves to the first one that can.
  void Set(const JTabStop* order, int n);
  // Call after showing or hiding widgets wholesale: a focus that can no
  // longer stay where it is moves on to the first place that can take it.
  void KeepAvailable();
  // The next (direction 1) or previous (-1) place that can take the focus,
  // wrapping; from nowhere, the first or the last.
  void Move(int direction);
  // Focus cues on (1) or off (0), as the window's UI state says.
  void ShowCues(int shown);

  int Count() const override { return count; }
  JTabStop Place(int i) const override { return stops[i]; }
  int Focused() const override;
  // A focusable, visible and active widget, or a visible, enabled control
  // inside the client area.
  bool Available(int i) const override;
  void Focus(int i) override;
};
