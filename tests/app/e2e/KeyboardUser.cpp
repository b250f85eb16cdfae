#include "KeyboardUser.h"

#include "tests/support/InstallerSession.h"

namespace {

INPUT KeyEvent(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

void PressKey(HWND window, UINT key, bool shift) {
  if (GetForegroundWindow() != window) {
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, 1000);
  }
  INPUT inputs[4];
  UINT count = 0;
  if (shift) inputs[count++] = KeyEvent(VK_SHIFT, false);
  inputs[count++] = KeyEvent(static_cast<WORD>(key), false);
  inputs[count++] = KeyEvent(static_cast<WORD>(key), true);
  if (shift) inputs[count++] = KeyEvent(VK_SHIFT, true);
  SendInput(count, inputs, sizeof(INPUT));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}
