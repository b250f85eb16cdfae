// Push buttons on a real window: hit edges, the press/move/release
// sequences with the posted notifications, the pressed look, hover texts
// and Show.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "check_colour.h"
#include "dib_canvas.h"
#include "test_art.h"
#include "test_window.h"

namespace {

using Ids = std::vector<int>;

// Expected look of the button area: the picture at (ox, oy) over the background.
COLORREF ButtonLook(int x, int y, int ox, int oy) {
  const int sx = x - ox;
  const int sy = y - oy;
  if (sx >= 0 && sx < 58 && sy >= 0 && sy < 19 && art::Button(sx, sy) != art::kWhite) return art::Button(sx, sy);
  return art::BackgroundAt(x, y);
}

void ExpectLook(HDC dc, const RECT& bounds, int ox, int oy, const char* what) {
  SCOPED_TRACE(what);
  int wrong = 0;
  for (int y = bounds.top; y < bounds.bottom; ++y)
    for (int x = bounds.left; x < bounds.right; ++x) {
      const COLORREF seen = GetPixel(dc, x, y);
      if (seen != ButtonLook(x, y, ox, oy) && wrong++ < 5) {
        EXPECT_PIXEL(ButtonLook(x, y, ox, oy), seen, x, y);
      }
    }
  EXPECT_EQ(0, wrong);
}

class ButtonTest : public testing::Test {
 protected:
  ButtonTest() {
    button = new JButton(w.context(), "Hello@World", MakeRect(50, 40, 0, 0), art::kButtonId, art::kButtonId, 219);
  }
  TestWindow w;
  JButton* button;
};

TEST_F(ButtonTest, PlacedFromItsPictureAndGrownForThePressedLook) {
  EXPECT_EQ(50, button->bounds.left);
  EXPECT_EQ(40, button->bounds.top);
  EXPECT_EQ(50 + 58 + 1, button->bounds.right);
  EXPECT_EQ(40 + 19 + 1, button->bounds.bottom);
  EXPECT_EQ(1, button->pressOffset);
  EXPECT_EQ(1, button->normalImage->fresh);
  EXPECT_EQ(0, button->pressedImage->fresh) << "the second look shares the cached picture";
  EXPECT_EQ(1, button->visible);
  EXPECT_EQ(1, button->active);
  EXPECT_EQ(0, button->drawDirect);
}

TEST_F(ButtonTest, HitEdgesAreStrict) {
  const struct {
    int x, y;
    bool inside;
  } points[] = {{50, 50, false}, {51, 50, true},  {108, 50, true}, {109, 50, false},
                {80, 40, false}, {80, 41, true},  {80, 59, true},  {80, 60, false},
                {51, 41, true},  {108, 59, true}, {-1 & 0xFFFF, 50, false}};
  for (const auto& p : points) {
    button->pressState = 0;
    w.Mouse(WM_LBUTTONDOWN, p.x, p.y);
    EXPECT_EQ(p.inside ? 1 : 0, button->pressState) << "press at (" << p.x << ", " << p.y << ")";
  }
  button->pressState = 0;
  EXPECT_TRUE(w.Notifications().empty());
}

TEST_F(ButtonTest, PressInsideReleaseAnywhereClicks) {
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONDOWN, 60, 50)) << "the press is not consumed";
  EXPECT_EQ(1, button->pressState);
  ExpectLook(w.context()->backDC, button->bounds, 51, 41, "pressed look in the back buffer");
  HDC screen = GetDC(w.hwnd());
  ExpectLook(screen, button->bounds, 51, 41, "pressed look on the window");
  ReleaseDC(w.hwnd(), screen);
  EXPECT_TRUE(w.Notifications().empty()) << "nothing posted on the press";

  EXPECT_EQ(1, w.Mouse(WM_LBUTTONUP, 250, 150)) << "the completing release is consumed";
  EXPECT_EQ(3, button->pressState);
  EXPECT_EQ(Ids{219}, w.Notifications());
  ExpectLook(w.context()->backDC, button->bounds, 50, 40, "normal look after the click");

  EXPECT_EQ(0, w.Mouse(WM_LBUTTONUP, 60, 50)) << "a second release clicks nothing";
  EXPECT_EQ(0, button->pressState);
  EXPECT_TRUE(w.Notifications().empty());

  w.Mouse(WM_LBUTTONDOWN, 60, 50);
  EXPECT_EQ(1, w.Mouse(WM_LBUTTONUP, 60, 50));
  EXPECT_EQ(Ids{219}, w.Notifications()) << "press and release inside";
}

TEST_F(ButtonTest, MovingOutCancelsThePress) {
  w.Mouse(WM_LBUTTONDOWN, 60, 50);
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 200, 150));
  EXPECT_EQ(0, button->pressState);
  ExpectLook(w.context()->backDC, button->bounds, 50, 40, "normal look from the move outside on");
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 60, 50));
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONUP, 60, 50));
  EXPECT_TRUE(w.Notifications().empty());
}

TEST_F(ButtonTest, OnlyTheCompletingReleaseStopsLaterElements) {
  std::vector<std::string> log;
  new Probe(w.context(), &log, "later");
  w.Mouse(WM_MOUSEMOVE, 60, 50);
  w.Mouse(WM_LBUTTONDOWN, 60, 50);
  w.Mouse(WM_LBUTTONUP, 60, 50);
  w.Mouse(WM_LBUTTONUP, 60, 50);
  EXPECT_EQ((std::vector<std::string>{"later:200", "later:201", "later:202"}), log);
  EXPECT_EQ(Ids{219}, w.Notifications());
}

TEST_F(ButtonTest, CommandZeroDrawsButPostsNothing) {
  button->commandId = 0;
  w.Mouse(WM_LBUTTONDOWN, 60, 50);
  EXPECT_EQ(1, w.Mouse(WM_LBUTTONUP, 60, 50));
  EXPECT_TRUE(w.Notifications().empty());
}

TEST_F(ButtonTest, WithoutPicturesNothingIsDrawnPressed) {
  JButton* bare = new JButton(w.context(), "", MakeRect(10, 100, 20, 15), 0, 0, 7);
  EXPECT_EQ(1, bare->pressOffset);
  EXPECT_EQ(31, bare->bounds.right);
  EXPECT_EQ(116, bare->bounds.bottom);
  const RECT area = {0, 90, 60, 130};
  FillWith(w.context()->backDC, area, DibCanvas::kSentinel);
  w.Mouse(WM_LBUTTONDOWN, 20, 110);
  EXPECT_EQ(1, bare->pressState);
  for (COLORREF c : Grab(w.context()->backDC, area)) ASSERT_EQ(Hex(DibCanvas::kSentinel), Hex(c));
  EXPECT_EQ(1, w.Mouse(WM_LBUTTONUP, 20, 110));
  EXPECT_EQ(Ids{7}, w.Notifications());
}

// The status line as the back buffer holds it.
std::vector<COLORREF> StatusLine(TestWindow& w) { return Grab(w.context()->backDC, TestWindow::kStatus); }

std::vector<COLORREF> EmptyStatusLine() {
  std::vector<COLORREF> pixels;
  for (int y = TestWindow::kStatus.top; y < TestWindow::kStatus.bottom; ++y)
    for (int x = TestWindow::kStatus.left; x < TestWindow::kStatus.right; ++x) pixels.push_back(art::BackgroundAt(x, y));
  return pixels;
}

TEST_F(ButtonTest, HoverTextDrawsOnlyOnChange) {
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 60, 50));
  EXPECT_EQ(1, button->hoverShown);
  const std::vector<COLORREF> shown = StatusLine(w);
  EXPECT_NE(EmptyStatusLine(), shown) << "the text is in the status line";
  int inColour = 0;
  for (COLORREF c : shown) inColour += c == TestWindow::kHoverColour;
  EXPECT_GT(inColour, 0) << "drawn in HoverTextColor";

  FillWith(w.context()->backDC, TestWindow::kStatus, DibCanvas::kSentinel);
  w.Mouse(WM_MOUSEMOVE, 61, 51);
  for (COLORREF c : StatusLine(w)) ASSERT_EQ(Hex(DibCanvas::kSentinel), Hex(c)) << "a second show draws nothing";

  w.Mouse(WM_MOUSEMOVE, 200, 150);
  EXPECT_EQ(0, button->hoverShown);
  EXPECT_EQ(EmptyStatusLine(), StatusLine(w)) << "cleared to the background";
  FillWith(w.context()->backDC, TestWindow::kStatus, DibCanvas::kSentinel);
  w.Mouse(WM_MOUSEMOVE, 201, 150);
  for (COLORREF c : StatusLine(w)) ASSERT_EQ(Hex(DibCanvas::kSentinel), Hex(c)) << "a second clear draws nothing";
}

TEST_F(ButtonTest, HoverTextIsCutAtTheFirstAt) {
  auto shownFor = [&](const char* text) {
    std::strcpy(button->hoverText, text);
    button->hoverShown = 0;
    FillWith(w.context()->backDC, TestWindow::kStatus, DibCanvas::kSentinel);
    button->ShowHover(1);
    return StatusLine(w);
  };
  const std::vector<COLORREF> hello = shownFor("Hello");
  EXPECT_EQ(hello, shownFor("Hello@World"));
  EXPECT_NE(hello, shownFor("Hello World"));
  EXPECT_EQ(EmptyStatusLine(), shownFor("@World")) << "an empty status line";
  EXPECT_EQ(1, button->hoverShown) << "that still counts as shown";

  button->hoverText[0] = '\0';
  button->hoverShown = 0;
  FillWith(w.context()->backDC, TestWindow::kStatus, DibCanvas::kSentinel);
  button->ShowHover(1);
  EXPECT_EQ(0, button->hoverShown) << "without a hover text nothing changes";
  for (COLORREF c : StatusLine(w)) ASSERT_EQ(Hex(DibCanvas::kSentinel), Hex(c));
}

TEST_F(ButtonTest, OneMoveFromALaterOntoAnEarlierElementLeavesTheStatusLineEmpty) {
  JButton* later = new JButton(w.context(), "Later", MakeRect(150, 40, 0, 0), art::kButtonId, art::kButtonId, 0);
  w.Mouse(WM_MOUSEMOVE, 160, 50);
  EXPECT_EQ(1, later->hoverShown);
  w.Mouse(WM_MOUSEMOVE, 60, 50);
  EXPECT_EQ(1, button->hoverShown);
  EXPECT_EQ(0, later->hoverShown);
  EXPECT_EQ(EmptyStatusLine(), StatusLine(w));
}

TEST_F(ButtonTest, ShowZeroErasesOnceShowOneDrawsAgain) {
  DibCanvas screen(TestWindow::kWidth, TestWindow::kHeight);
  w.context()->paintDC = screen.dc();  // as while the application's set-up holds a DC
  button->Show(0);
  EXPECT_EQ(0, button->visible);
  EXPECT_EQ(0, button->active);
  EXPECT_EQ(1, button->erased);
  for (int y = 0; y < TestWindow::kHeight; ++y)
    for (int x = 0; x < TestWindow::kWidth; ++x) {
      const bool inside = x >= 50 && x < 109 && y >= 40 && y < 60;
      EXPECT_PIXEL(inside ? art::BackgroundAt(x, y) : DibCanvas::kSentinel, screen.Pixel(x, y), x, y);
    }
  screen.Fill(DibCanvas::kSentinel);
  button->Show(0);
  for (int y = 0; y < TestWindow::kHeight; ++y)
    for (int x = 0; x < TestWindow::kWidth; ++x) ASSERT_EQ(DibCanvas::kSentinel, screen.Pixel(x, y)) << DibCanvas::At(x, y);

  button->Show(1);
  EXPECT_EQ(1, button->visible);
  EXPECT_EQ(0, button->erased);
  for (int y = 40; y < 60; ++y)
    for (int x = 50; x < 109; ++x) EXPECT_PIXEL(ButtonLook(x, y, 50, 40), screen.Pixel(x, y), x, y);
  w.context()->paintDC = nullptr;

  button->Show(0);  // onto a window DC of its own
  EXPECT_EQ(1, button->erased);
  EXPECT_EQ(nullptr, w.context()->paintDC);
}

TEST_F(ButtonTest, DirectDrawingPutsThePictureStraightOntoTheTarget) {
  button->drawDirect = 1;
  DibCanvas screen(TestWindow::kWidth, TestWindow::kHeight);
  button->Draw(screen.dc());
  for (int y = 40; y < 60; ++y)
    for (int x = 50; x < 109; ++x) {
      const int sx = x - 50;
      const int sy = y - 40;
      COLORREF expected = DibCanvas::kSentinel;  // white and the grown edge show what was there
      if (sx < 58 && sy < 19 && art::Button(sx, sy) != art::kWhite) expected = art::Button(sx, sy);
      EXPECT_PIXEL(expected, screen.Pixel(x, y), x, y);
    }
}

TEST_F(ButtonTest, LabelsWithAndWithoutPlacement) {
  const JLabelPlacement placement = {0, 25, 80, 16};
  JButton* placed = new JButton(w.context(), "", MakeRect(150, 100, 0, 0), art::kButtonId, art::kButtonId, 0,
                                "Placed", &placement);
  EXPECT_EQ(150, placed->labelRect.left);
  EXPECT_EQ(125, placed->labelRect.top);
  EXPECT_EQ(230, placed->labelRect.right);
  EXPECT_EQ(141, placed->labelRect.bottom);
  // Without a placement the label goes into the position rectangle; a
  // zero-size position shows no label at all.
  JButton* text = new JButton(w.context(), "", MakeRect(10, 150, 80, 20), 0, 0, 0, "Text");
  JButton* none = new JButton(w.context(), "", MakeRect(10, 150, 0, 0), art::kButtonId, art::kButtonId, 0, "None");
  EXPECT_EQ(90, text->labelRect.right);

  DibCanvas screen(TestWindow::kWidth, TestWindow::kHeight);
  none->Draw(screen.dc());
  for (int y = 0; y < TestWindow::kHeight; ++y)
    for (int x = 0; x < TestWindow::kWidth; ++x) {
      const bool inButton = x >= 10 && x < 69 && y >= 150 && y < 170;
      if (!inButton) {
        ASSERT_EQ(DibCanvas::kSentinel, screen.Pixel(x, y)) << DibCanvas::At(x, y);
      }
    }
  for (JButton* b : {placed, text}) {
    screen.Fill(DibCanvas::kSentinel);
    SetTextColor(w.context()->backDC, RGB(0, 0, 0));
    b->Draw(screen.dc());
    int dark = 0;
    for (int y = b->labelRect.top; y < b->labelRect.bottom; ++y)
      for (int x = b->labelRect.left; x < b->labelRect.right; ++x) dark += screen.Pixel(x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 0) << "label text of " << b->label;
  }
}

TEST_F(ButtonTest, OverlongTextsAreCutAtTheirFields) {
  const std::string longText(300, 'x');
  JButton* b = new JButton(w.context(), longText.c_str(), MakeRect(0, 0, 0, 0), 0, 0, 0, longText.c_str());
  EXPECT_EQ(211u, std::strlen(b->hoverText));
  EXPECT_EQ(59u, std::strlen(b->label));
  EXPECT_EQ(1, b->active) << "the field after hoverText is intact";
  EXPECT_EQ(0, b->drawDirect);
}

}  // namespace
