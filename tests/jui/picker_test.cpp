// The grid selector's picker popup, opened by a synthetic click on a real
// window. A thread timer, fired inside the popup's modal loop, finds the
// popup, checks it and then picks a cell (posted button-up) or closes it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "check_colour.h"
#include "test_art.h"
#include "test_window.h"

namespace {

using Ids = std::vector<int>;

struct Driver {
  HWND owner = nullptr;
  void (*action)(HWND popup) = nullptr;
  HWND popup = nullptr;
  RECT popupRect = {};
  int ticks = 0;
  bool acted = false;
  bool forced = false;  // the popup had to be ended by the driver
};
Driver driver;

BOOL CALLBACK FindPopup(HWND window, LPARAM) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (IsWindowVisible(window) && std::strcmp(name, "#32770") == 0 && GetWindow(window, GW_OWNER) == driver.owner) {
    driver.popup = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  ++driver.ticks;
  if (!driver.acted) {
    driver.popup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPopup, 0);
    if (!driver.popup) {
      if (driver.ticks > 100) KillTimer(nullptr, timer);
      return;
    }
    GetWindowRect(driver.popup, &driver.popupRect);
    driver.acted = true;
    driver.action(driver.popup);
    return;
  }
  if (!IsWindow(driver.popup) || !IsWindowVisible(driver.popup)) {
    KillTimer(nullptr, timer);
  } else if (driver.ticks > 150) {
    driver.forced = true;  // the action did not close it: end it so the test can go on
    EndDialog(driver.popup, 0);
    KillTimer(nullptr, timer);
  }
}

// Sends the click that opens the picker and lets `action` run inside its modal loop.
int ClickWithPicker(TestWindow& w, int x, int y, void (*action)(HWND)) {
  driver = Driver();
  driver.owner = w.hwnd();
  driver.action = action;
  SetTimer(nullptr, 0, 20, Tick);
  const int result = w.Mouse(WM_LBUTTONDOWN, x, y);
  EXPECT_TRUE(driver.acted) << "the picker popup was found";
  EXPECT_FALSE(driver.forced) << "the popup closed by itself";
  return result;
}

JSelector* GridSelector(TestWindow& w, int top = 120, int flags = JS_GRID) {
  JSelector* s = new JSelector(w.context(), "Pick", MakeRect(150, top, 10, 10), art::kGridId, 0x80008000u, "", 0,
                               5, 3000, flags, nullptr);
  s->value = 2;
  return s;
}

void ExpectCell(HDC dc, const RECT& box, int cell, const char* where) {
  const int sx = (cell % 4) * 26;
  const int sy = (cell / 4) * 26;
  int wrong = 0;
  for (int j = 0; j < 26; ++j)
    for (int i = 0; i < 26; ++i) {
      const COLORREF seen = GetPixel(dc, box.left + i, box.top + j);
      if (seen != art::Grid(sx + i, sy + j) && wrong++ < 3) {
        EXPECT_PIXEL(art::Grid(sx + i, sy + j), seen, box.left + i, box.top + j) << " " << where;
      }
    }
  EXPECT_EQ(0, wrong) << where;
}

HDC paintDCBefore;
HDC paintDCAfter;
int paintsInside;
COLORREF cellPixel;
COLORREF backgroundPixel;

TEST(Picker, ReleaseOnACellPicksIt) {
  TestWindow w;
  JSelector* s = GridSelector(w);
  const int result = ClickWithPicker(w, 160, 130, [](HWND popup) {
    // A repaint of the main window while the dispatch holds its DC.
    paintDCBefore = MainContext.paintDC;
    const int paints = TestWindow::paintCount;
    RedrawWindow(MainContext.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    paintsInside = TestWindow::paintCount - paints;
    paintDCAfter = MainContext.paintDC;
    // The popup's own paint: cell 5 and the background between the cells.
    RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(popup);
    cellPixel = GetPixel(dc, 62 + 3, 46 + 4);
    backgroundPixel = GetPixel(dc, 150, 3);
    ReleaseDC(popup, dc);
    PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(60, 50));
  });
  EXPECT_EQ(1, result) << "a pick consumes the press";
  EXPECT_EQ(5, s->value);
  EXPECT_EQ(Ids{3000}, w.Notifications());
  EXPECT_EQ(198, PickerWidth);
  EXPECT_EQ(86, PickerHeight);
  // Right edge one pixel left of the box, bottom edge one pixel above it.
  EXPECT_EQ(100 + 150 - 1 - 198, driver.popupRect.left);
  EXPECT_EQ(100 + 120 - 1 - 86, driver.popupRect.top);
  EXPECT_EQ(100 + 150 - 1, driver.popupRect.right);
  EXPECT_EQ(100 + 120 - 1, driver.popupRect.bottom);

  EXPECT_EQ(1, paintsInside) << "the main window painted inside the modal loop";
  EXPECT_NE(nullptr, paintDCBefore);
  EXPECT_EQ(paintDCBefore, paintDCAfter) << "the dispatch's DC is back in place after that paint";
  EXPECT_EQ(nullptr, MainContext.paintDC);
  EXPECT_EQ(Hex(art::Grid(26 + 3, 26 + 4)), Hex(cellPixel)) << "cell 5 in the popup";
  EXPECT_EQ(Hex(art::BackgroundAt(150, 3)), Hex(backgroundPixel)) << "background in the popup";

  ExpectCell(w.context()->backDC, s->hitRect, 5, "back buffer");
  HDC screen = GetDC(w.hwnd());
  ExpectCell(screen, s->hitRect, 5, "window");
  ReleaseDC(w.hwnd(), screen);
}

TEST(Picker, ColumnBeyondTheGridAndTheOriginPick) {
  TestWindow w;
  JSelector* s = GridSelector(w);
  EXPECT_EQ(1, ClickWithPicker(w, 150, 120, [](HWND popup) {
    PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(190, 20));
  }));
  EXPECT_EQ(4, s->value) << "column 4, row 0";
  EXPECT_EQ(Ids{3000}, w.Notifications());
  // A release at the popup's very origin is a pick of cell 0, not "no pick".
  EXPECT_EQ(1, ClickWithPicker(w, 176, 146, [](HWND popup) { PostMessageA(popup, WM_LBUTTONUP, 0, 0); }));
  EXPECT_EQ(0, s->value);
  EXPECT_EQ(Ids{3000}, w.Notifications());
}

TEST(Picker, EscapeOrRightButtonClosesWithoutChange) {
  TestWindow w;
  JSelector* s = GridSelector(w);
  EXPECT_EQ(0, ClickWithPicker(w, 160, 130, [](HWND popup) {
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  }));
  EXPECT_EQ(2, s->value);
  EXPECT_TRUE(w.Notifications().empty());

  EXPECT_EQ(0, ClickWithPicker(w, 160, 130, [](HWND popup) {
    PostMessageA(popup, WM_RBUTTONDOWN, 0, MAKELPARAM(60, 50));
  }));
  EXPECT_EQ(2, s->value);
  EXPECT_TRUE(w.Notifications().empty());

  EXPECT_EQ(0, ClickWithPicker(w, 160, 130, [](HWND popup) {
    PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
  }));
  EXPECT_EQ(2, s->value);
  EXPECT_TRUE(w.Notifications().empty());
}

TEST(Picker, OpensBelowABoxNearTheTop) {
  TestWindow w;
  GridSelector(w, 40);
  EXPECT_EQ(0, ClickWithPicker(w, 160, 50, [](HWND popup) { PostMessageA(popup, WM_COMMAND, IDCANCEL, 0); }));
  EXPECT_EQ(100 + 66, driver.popupRect.top) << "top edge at the box's bottom";
  EXPECT_EQ(100 + 149, driver.popupRect.right);
}

TEST(Picker, StaysOnTheMonitorThatHoldsTheSelector) {
  TestWindow w(0, 300);
  GridSelector(w);
  EXPECT_EQ(0, ClickWithPicker(w, 160, 130, [](HWND popup) { PostMessageA(popup, WM_COMMAND, IDCANCEL, 0); }));
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(w.hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_EQ(monitor.rcWork.left, driver.popupRect.left) << "moved right instead of sticking out on the left";
  EXPECT_EQ(300 + 120 - 1, driver.popupRect.bottom);
  EXPECT_EQ(198, driver.popupRect.right - driver.popupRect.left);
}

}  // namespace
