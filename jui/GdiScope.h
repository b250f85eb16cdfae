#pragma once
// Scoped pairings of GDI calls: what a scope takes is given back when it
// ends, on every path out of it.
#include <windows.h>

// A DC of a window (of the screen for a null window), released at the end.
// With take false it holds none.
class WindowDC {
 public:
  explicit WindowDC(HWND window, bool take = true) : window_(window), dc_(take ? GetDC(window) : nullptr) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a DC; what it replaced is selected again at the
// end. A null object selects nothing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint and EndPaint of one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
};
