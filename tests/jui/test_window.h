#pragma once
// A real top-level window on the test display, painted and fed mouse
// messages through the toolkit exactly as the installer's dialog does:
// every message first goes to JPanel::DispatchMouse, WM_PAINT runs the
// paint cycle. Tests send real mouse messages and read the WM_JNOTIFY
// notifications back from the message queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jui/Toolkit.h"

// An element that records what reaches it.
class Probe : public JElement {
 public:
  Probe(JContext* context, std::vector<std::string>* log, const char* name, int result = 0);
  int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Draw(HDC dc) override;

  std::vector<std::string>* log;
  std::string name;
  int result;
  HDC seenDC = nullptr;       // context paintDC during the last OnMouse
  DWORD seenDCType = 0;       // its object type
  void (*onMouse)(Probe*) = nullptr;  // optional extra action
};

class TestWindow {
 public:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 200;
  static const RECT kStatus;        // where hover texts appear
  static constexpr COLORREF kHoverColour = RGB(0xF0, 0xE0, 0x10);

  explicit TestWindow(int x = 100, int y = 100);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  JPanel* panel() const { return panel_; }
  JContext* context() const { return &MainContext; }

  // Sends a mouse message at (x, y); returns what DispatchMouse answered.
  int Mouse(UINT message, int x, int y, WPARAM keys = 0);
  // The command ids posted with WM_JNOTIFY since the last call, in order.
  std::vector<int> Notifications();
  // Repaints the whole window now (a real WM_PAINT).
  void Repaint();

  static int lastDispatch;
  static int paintCount;

 private:
  HWND hwnd_ = nullptr;
  JPanel* panel_ = nullptr;
};

// Pixels of any DC inside r, row by row.
std::vector<COLORREF> Grab(HDC dc, const RECT& r);
void FillWith(HDC dc, const RECT& r, COLORREF colour);
