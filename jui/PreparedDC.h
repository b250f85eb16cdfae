#pragma once
// A window DC made ready for the toolkit's drawing: UiFont selected and a
// transparent background. Whatever was in place before is put back and the
// DC released when the scope ends (or at Release).
#include <windows.h>

class PreparedDC {
 public:
  PreparedDC() = default;
  explicit PreparedDC(HWND window) { Acquire(window); }
  ~PreparedDC() { Release(); }
  PreparedDC(const PreparedDC&) = delete;
  PreparedDC& operator=(const PreparedDC&) = delete;

  // Takes a DC of window and prepares it; a DC still held is given back first.
  HDC Acquire(HWND window);
  // Puts the font and background mode back and releases the DC; nothing when none is held.
  void Release();

  HDC dc() const { return dc_; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  int oldBkMode_ = 0;
};
