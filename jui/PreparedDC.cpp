#include "jui/PreparedDC.h"

#include "jui/JContext.h"

HDC PreparedDC::Acquire(HWND window) {
  Release();
  window_ = window;
  dc_ = GetDC(window);
  if (!dc_) return nullptr;
  oldFont_ = UiFont ? SelectObject(dc_, UiFont) : nullptr;
  oldBkMode_ = SetBkMode(dc_, TRANSPARENT);
  return dc_;
}

void PreparedDC::Release() {
  if (!dc_) return;
  if (oldFont_) SelectObject(dc_, oldFont_);
  if (oldBkMode_) SetBkMode(dc_, oldBkMode_);
  ReleaseDC(window_, dc_);
  dc_ = nullptr;
  oldFont_ = nullptr;
  oldBkMode_ = 0;
  window_ = nullptr;
}
