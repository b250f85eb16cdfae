#pragma once
// The panel's scoped pairings: a paint cycle from BeginPaint to EndPaint,
// and a window DC lent to the context outside a paint.
#include <windows.h>

#include "jui/GdiScope.h"
#include "jui/JContext.h"
#include "jui/JPanel.h"

// One paint cycle of panel: BeginPaint when the scope starts, EndPaint when
// it ends. Between them the context's paintDC is the paint's DC.
class PanelPaint {
 public:
  explicit PanelPaint(JPanel* panel) : panel_(panel) { panel_->BeginPaint(); }
  ~PanelPaint() { panel_->EndPaint(); }
  PanelPaint(const PanelPaint&) = delete;
  PanelPaint& operator=(const PanelPaint&) = delete;

 private:
  JPanel* panel_;
};

// A DC of the context's window, lent to the context as its paintDC for the
// scope (bitmaps are loaded and text measured against it outside a paint);
// the paintDC held before is put back at the end.
class LentPaintDC {
 public:
  LentPaintDC(JContext* context, HWND window) : context_(context), dc_(window), previous_(context->paintDC) {
    context_->paintDC = dc_.dc();
  }
  ~LentPaintDC() { context_->paintDC = previous_; }
  LentPaintDC(const LentPaintDC&) = delete;
  LentPaintDC& operator=(const LentPaintDC&) = delete;

 private:
  JContext* context_;
  WindowDC dc_;
  HDC previous_;
};
