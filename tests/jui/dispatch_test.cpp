// Mouse dispatch and the paint cycle on a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "test_art_ids.h"
#include "test_window.h"

namespace {

using Log = std::vector<std::string>;

TEST(DispatchMouse, FirstConsumerStopsTheMessage) {
  TestWindow w;
  Log log;
  Probe* a = new Probe(w.context(), &log, "a");
  new Probe(w.context(), &log, "b", 1);
  new Probe(w.context(), &log, "c");
  EXPECT_EQ(1, w.Mouse(WM_MOUSEMOVE, 5, 5));
  EXPECT_EQ((Log{"a:200", "b:200"}), log);
  EXPECT_EQ(static_cast<DWORD>(OBJ_DC), a->seenDCType) << "elements draw into a window DC during the dispatch";
  EXPECT_EQ(nullptr, w.context()->paintDC) << "released at the end of the dispatch";

  log.clear();
  static_cast<Probe*>(w.context()->elements[1])->result = 0;
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONDOWN, 5, 5));
  EXPECT_EQ((Log{"a:201", "b:201", "c:201"}), log);
}

TEST(DispatchMouse, InactiveElementsAreSkippedHiddenActiveOnesAreNot) {
  TestWindow w;
  Log log;
  Probe* inactive = new Probe(w.context(), &log, "inactive", 1);
  Probe* hidden = new Probe(w.context(), &log, "hidden");
  inactive->active = 0;
  hidden->visible = 0;
  EXPECT_EQ(0, w.Mouse(WM_RBUTTONUP, 1, 1));
  EXPECT_EQ((Log{"hidden:205"}), log);
}

TEST(DispatchMouse, OnlyMessagesFrom0x200To0x20EAreDispatched) {
  TestWindow w;
  Log log;
  new Probe(w.context(), &log, "p");
  const HDC marker = reinterpret_cast<HDC>(static_cast<INT_PTR>(0x5A5A));
  for (UINT message : {0xA0u /* WM_NCMOUSEMOVE */, 0x2A3u /* WM_MOUSELEAVE */, 0x1FFu, 0x20Fu, 0x100u}) {
    w.context()->paintDC = marker;
    EXPECT_EQ(0, w.panel()->DispatchMouse(w.hwnd(), message, 0, 0)) << "message " << message;
    EXPECT_EQ(marker, w.context()->paintDC) << "no DC taken for message " << message;
  }
  w.context()->paintDC = nullptr;
  EXPECT_TRUE(log.empty());
  for (UINT message : {0x200u, 0x20Eu}) w.panel()->DispatchMouse(w.hwnd(), message, 0, 0);
  EXPECT_EQ((Log{"p:200", "p:20E"}), log);
}

TEST(DispatchMouse, WithoutElementsNothingIsTouched) {
  TestWindow w;
  const HDC marker = reinterpret_cast<HDC>(static_cast<INT_PTR>(0x5A5A));
  w.context()->paintDC = marker;
  EXPECT_EQ(0, w.panel()->DispatchMouse(w.hwnd(), WM_LBUTTONDOWN, 0, 0));
  EXPECT_EQ(marker, w.context()->paintDC);
  w.context()->paintDC = nullptr;
}

TEST(DispatchMouse, TheListEndsAt150Elements) {
  TestWindow w;
  Log log;
  for (int i = 0; i < kMaxElements; ++i) new Probe(w.context(), &log, "p");
  const RECT status = w.context()->statusRect;
  Probe* extra = new Probe(w.context(), &log, "extra", 1);
  EXPECT_EQ(kMaxElements, w.context()->elementCount);
  EXPECT_EQ(0, memcmp(&status, &w.context()->statusRect, sizeof status)) << "nothing written past the list";
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 1, 1));
  EXPECT_EQ(static_cast<size_t>(kMaxElements), log.size()) << "the extra element is not in the list";
  delete extra;
}

TEST(PaintCycle, VisibleElementsDrawInRegistrationOrderOverTheBackground) {
  TestWindow w;
  Log log;
  new Probe(w.context(), &log, "first");
  Probe* hidden = new Probe(w.context(), &log, "hidden");
  new Probe(w.context(), &log, "last");
  hidden->visible = 0;
  hidden->active = 0;
  const int before = TestWindow::paintCount;
  w.Repaint();
  EXPECT_EQ(before + 1, TestWindow::paintCount);
  EXPECT_EQ((Log{"first:draw", "last:draw"}), log);
  EXPECT_EQ(nullptr, w.context()->paintDC) << "released at the end of the paint";
  HDC screen = GetDC(w.hwnd());
  EXPECT_EQ(RGB(17, 4 * 13, 0x40), GetPixel(screen, 117, 63)) << "background pixel (117, 63)";
  ReleaseDC(w.hwnd(), screen);
}

// A paint that arrives while a dispatch holds paintDC (as during the
// picker's modal loop) gives the dispatch its DC back.
TEST(PaintCycle, APaintInsideADispatchLeavesTheDispatchDCInPlace) {
  TestWindow w;
  Log log;
  Probe* painter = new Probe(w.context(), &log, "painter");
  Probe* after = new Probe(w.context(), &log, "after");
  static HDC during;
  static HDC afterPaint;
  painter->onMouse = [](Probe* p) {
    during = p->context->paintDC;
    RedrawWindow(p->context->window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    afterPaint = p->context->paintDC;
  };
  const int before = TestWindow::paintCount;
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONDOWN, 3, 3));
  EXPECT_EQ(before + 1, TestWindow::paintCount) << "the paint ran inside the dispatch";
  EXPECT_NE(nullptr, during);
  EXPECT_EQ(during, afterPaint);
  EXPECT_EQ(during, after->seenDC) << "the next element draws into the dispatch's DC";
  EXPECT_EQ(static_cast<DWORD>(OBJ_DC), after->seenDCType) << "and that DC is still alive";
  EXPECT_EQ(nullptr, w.context()->paintDC);
}

TEST(Canvas, AttachKeepsFontsAndMakesANewBackBuffer) {
  TestWindow w;
  const HFONT font = UiFont;
  const HFONT link = LinkFont;
  const HDC back = w.context()->backDC;
  JBitmap* background = w.context()->background;
  ASSERT_NE(nullptr, font);
  EXPECT_EQ(300, w.panel()->windowRect.right);
  EXPECT_EQ(200, w.panel()->windowRect.bottom);
  EXPECT_EQ(100, background->width);
  Attach(w.hwnd(), TEST_BACKGROUND_ID, TEST_NO_CURSOR_ID, nullptr);
  EXPECT_EQ(font, UiFont);
  EXPECT_EQ(link, LinkFont);
  EXPECT_NE(back, w.context()->backDC);
  EXPECT_NE(background, w.context()->background);
  EXPECT_EQ(0, w.context()->statusRect.right) << "no status rectangle given";
  EXPECT_EQ(0, w.context()->background->fresh) << "the background came from the cache";
}

TEST(Canvas, MakeRectAndDrawStaticTextOutsideAPaint) {
  const RECT r = MakeRect(0x10005, 2, 3, 4);
  EXPECT_EQ(5, r.left);
  EXPECT_EQ(2, r.top);
  EXPECT_EQ(8, r.right);
  EXPECT_EQ(6, r.bottom);
  TestWindow w;
  DrawStaticText("nothing happens", 10);  // no paintDC: draws nothing, does not crash
  EXPECT_EQ(4, TextLeft);
}

}  // namespace
