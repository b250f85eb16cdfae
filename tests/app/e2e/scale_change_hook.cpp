// A hook procedure the scale tests place on the installer's thread: when
// the installer's message loop takes the test's "change of scale" message
// (wParam: the new dots per inch), it hands the window WM_DPICHANGED from
// inside the installer's process, as Windows does when the window moves to a
// monitor of another scale, with a suggested rectangle of the new size at
// (20, 30). Wine has no monitors of different scales to move between.
#include <windows.h>

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ScaleChangeHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT change = RegisterWindowMessageA("iRelief test: change of scale");
  MSG* message = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message && message->message == change) {
    const int dpi = static_cast<int>(message->wParam);
    // Near the screen's corner, so that the larger window stays on the
    // test display.
    RECT suggested = {20, 30, 20 + MulDiv(600, dpi, 96), 30 + MulDiv(320, dpi, 96)};
    SendMessageA(message->hwnd, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    message->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
