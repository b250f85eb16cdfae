#include "test_window.h"

#include "common/ElementSlots.h"
#include "test_art_ids.h"

const RECT TestWindow::kStatus = {0, 180, 300, 200};
int TestWindow::lastDispatch = -1;
int TestWindow::paintCount = 0;

namespace {

const char kClassName[] = "JuiTestWindow";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  JPanel* panel = static_cast<JPanel*>(ElementSlots[kSlotPanel]);
  if (panel && panel->context->window == window) {
    TestWindow::lastDispatch = panel->DispatchMouse(window, message, wParam, lParam);
    if (TestWindow::lastDispatch) return 0;
    if (message == WM_PAINT) {
      panel->BeginPaint();
      panel->PaintAll();
      DrawStaticText("", 5);
      panel->EndPaint();
      ++TestWindow::paintCount;
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  registered = true;
}

}  // namespace

Probe::Probe(JContext* context, std::vector<std::string>* l, const char* n, int r)
    : JElement(context, ""), log(l), name(n), result(r) {}

int Probe::OnMouse(HWND, UINT message, WPARAM, LPARAM) {
  char text[16];
  wsprintfA(text, ":%X", message);
  log->push_back(name + text);
  seenDC = context->paintDC;
  seenDCType = GetObjectType(seenDC);
  if (onMouse) onMouse(this);
  return result;
}

void Probe::Draw(HDC) { log->push_back(name + ":draw"); }

TestWindow::TestWindow(int x, int y) {
  RegisterOnce();
  MainContext = JContext();
  panel_ = (new JPanel())->Init(&MainContext, GetModuleHandleA(nullptr));
  ElementSlots[kSlotPanel] = panel_;
  // One window for the whole run: destroying a window costs Wine two
  // seconds of waiting for the display to withdraw it.
  static HWND shared = nullptr;
  if (!shared)
    shared = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, x, y, kWidth, kHeight, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  hwnd_ = shared;
  SetWindowPos(hwnd_, HWND_TOP, x, y, kWidth, kHeight, SWP_SHOWWINDOW);
  Attach(hwnd_, TEST_BACKGROUND_ID, TEST_NO_CURSOR_ID, &kStatus);
  HoverTextColor = kHoverColour;
  UpdateWindow(hwnd_);
  Notifications();
}

TestWindow::~TestWindow() {
  for (int i = 0; i < MainContext.elementCount; ++i) delete MainContext.elements[i];
  MainContext.elementCount = 0;
  Notifications();
  if (MainContext.background) {
    ReleaseCachedBitmap(MainContext.background);
    delete MainContext.background;
  }
  DeleteDC(MainContext.backDC);
  DeleteObject(panel_->backBitmap);
  ElementSlots[kSlotPanel] = nullptr;
  delete panel_;
  MainContext = JContext();
}

int TestWindow::Mouse(UINT message, int x, int y, WPARAM keys) {
  lastDispatch = -1;
  SendMessageA(hwnd_, message, keys, MAKELPARAM(x, y));
  return lastDispatch;
}

std::vector<int> TestWindow::Notifications() {
  std::vector<int> ids;
  MSG msg;
  while (PeekMessageA(&msg, hwnd_, WM_JNOTIFY, WM_JNOTIFY, PM_REMOVE)) {
    EXPECT_EQ(0, msg.lParam) << "WM_JNOTIFY carries lParam 0";
    ids.push_back(static_cast<int>(msg.wParam));
  }
  return ids;
}

void TestWindow::Repaint() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

std::vector<COLORREF> Grab(HDC dc, const RECT& r) {
  std::vector<COLORREF> pixels;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  return pixels;
}

void FillWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}
