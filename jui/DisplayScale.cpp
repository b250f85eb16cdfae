#include "jui/DisplayScale.h"

#include "jui/GdiScope.h"
#include "jui/ScaleRules.h"

namespace {

constexpr int kUiFontHeight = 13;

// GetDpiForWindow came with Windows 10 (1607); looked up, never imported.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn DpiForWindow() {
  HMODULE user = GetModuleHandleA("user32.dll");
  FARPROC entry = user ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
  return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(entry));
}

}  // namespace

int WindowDpi(HWND window) {
  const GetDpiForWindowFn forWindow = DpiForWindow();
  if (forWindow && window) {
    const UINT dpi = forWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  WindowDC screen(nullptr);
  const int dpi = screen.dc() ? GetDeviceCaps(screen.dc(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

int UiFontHeight(const JContext* context) { return ScaledLength(kUiFontHeight, context->dpi); }

void SetDisplayDpi(JContext* context, int dpi) {
  context->dpi = dpi;
  UiFont = CreateUiFont(UiFontHeight(context), 0);
  LinkFont = CreateUiFont(UiFontHeight(context), 1);
}
