// The text link on a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "dib_canvas.h"
#include "test_window.h"

namespace {

using Ids = std::vector<int>;

int CountColour(const DibCanvas& c, COLORREF colour) {
  int n = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) n += c.Pixel(x, y) == colour;
  return n;
}

TEST(Link, BeforeItsFirstDrawingOnlyTheTopLeftPointHits) {
  TestWindow w;
  JAncor* link = new JAncor(w.context(), "Visit", MakeRect(20, 30, 0, 0), "www.mirefold.com", 1029);
  EXPECT_EQ(20, link->linkRect.right);
  EXPECT_EQ(30, link->linkRect.bottom);
  EXPECT_EQ(1, w.Mouse(WM_MOUSEMOVE, 20, 30));
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 21, 30));
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 20, 31));
}

TEST(Link, PressPostsAtOnceEveryTimeAndTheColourChangesAtTheNextDrawing) {
  TestWindow w;
  JAncor* link = new JAncor(w.context(), "Visit", MakeRect(20, 30, 0, 0), "www.mirefold.com", 1029);
  DibCanvas screen(TestWindow::kWidth, TestWindow::kHeight);
  link->Draw(screen.dc());
  EXPECT_GT(CountColour(screen, 0xFF0000), 0) << "blue before the first click";
  EXPECT_EQ(0, CountColour(screen, 0x800080));
  EXPECT_EQ(0u, GetTextColor(screen.dc())) << "text colour left black";
  EXPECT_GT(link->linkRect.right, 20) << "measured by the drawing";
  EXPECT_GT(link->linkRect.bottom, 30);

  EXPECT_EQ(1, w.Mouse(WM_LBUTTONDOWN, 22, 32));
  EXPECT_EQ(Ids{1029}, w.Notifications());
  EXPECT_EQ(1, link->visited);
  EXPECT_EQ(1, w.Mouse(WM_LBUTTONDOWN, 22, 32));
  EXPECT_EQ(Ids{1029}, w.Notifications()) << "a second press posts again";
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONUP, 22, 32)) << "the release is not the link's";
  EXPECT_TRUE(w.Notifications().empty());

  screen.Fill(DibCanvas::kSentinel);
  link->Draw(screen.dc());
  EXPECT_GT(CountColour(screen, 0x800080), 0) << "purple once visited";
  EXPECT_EQ(0, CountColour(screen, 0xFF0000));
}

TEST(Link, EdgesAreInclusiveAndMovesOverItAreConsumed) {
  TestWindow w;
  JAncor* link = new JAncor(w.context(), "Visit", MakeRect(20, 30, 0, 0), "www.mirefold.com", 1029);
  std::vector<std::string> log;
  new Probe(w.context(), &log, "later");
  DibCanvas screen(TestWindow::kWidth, TestWindow::kHeight);
  link->Draw(screen.dc());
  const RECT r = link->linkRect;
  EXPECT_EQ(1, w.Mouse(WM_MOUSEMOVE, r.right, r.bottom));
  EXPECT_EQ(1, w.Mouse(WM_MOUSEMOVE, r.left, r.top));
  EXPECT_EQ(1, link->hoverShown);
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, r.right + 1, r.bottom));
  EXPECT_EQ(0, link->hoverShown);
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, r.right, r.bottom + 1));
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONDOWN, r.left - 1, r.top));
  EXPECT_TRUE(w.Notifications().empty());
  EXPECT_EQ((std::vector<std::string>{"later:200", "later:200", "later:201"}), log)
      << "later elements see no moves over the link";
}

TEST(Link, OverlongLinkTextIsCut) {
  TestWindow w;
  const std::string longText(100, 'y');
  JAncor* link = new JAncor(w.context(), longText.c_str(), MakeRect(0, 0, 0, 0), longText.c_str(), 1);
  EXPECT_EQ(59u, std::strlen(link->linkText));
  EXPECT_EQ(100u, std::strlen(link->hoverText));
}

}  // namespace
