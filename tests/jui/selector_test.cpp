// The selector on a real window: the toggle table row by row, step mode,
// edges, leaving the box, the grid's right press.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "check_colour.h"
#include "test_art.h"
#include "test_window.h"

namespace {

using Ids = std::vector<int>;

// The check-box selector of the installer, at (100, 60).
JSelector* CheckBox(TestWindow& w, int minimum = 0, int count = -3) {
  return new JSelector(w.context(), "Select to install", MakeRect(100, 60, 210, 52), art::kCheckId, 0x80148000u,
                       "iRelief plug-in", minimum, count, 2000, 0, "iRelief");
}

// The frame the back buffer shows in the box.
void ExpectFrame(TestWindow& w, const JSelector* s, int frame) {
  int wrong = 0;
  for (int j = 0; j < 13; ++j)
    for (int i = 0; i < 13; ++i) {
      const COLORREF seen = GetPixel(w.context()->backDC, s->hitRect.left + i, s->hitRect.top + j);
      if (seen != art::Check(13 * frame + i, j) && wrong++ < 3) {
        EXPECT_PIXEL(art::Check(13 * frame + i, j), seen, s->hitRect.left + i, s->hitRect.top + j)
            << " frame " << frame;
      }
    }
  EXPECT_EQ(0, wrong) << "frame " << frame;
}

TEST(Selector, ConstructedAsTheInstallersCheckBox) {
  TestWindow w;
  JSelector* s = CheckBox(w);
  EXPECT_EQ(1, s->toggle);
  EXPECT_EQ(3, s->maximum);
  EXPECT_EQ(0, s->value);
  EXPECT_EQ(20, s->labelDx);
  EXPECT_EQ(0, s->labelDy);
  EXPECT_STREQ("iRelief", s->componentKey);
  EXPECT_EQ(113, s->hitRect.right);
  EXPECT_EQ(73, s->hitRect.bottom);
  // The position's right and bottom (310, 112) act as width and height of the cleared area.
  EXPECT_EQ(100 + 310, s->eraseRect.right);
  EXPECT_EQ(60 + 112, s->eraseRect.bottom);
}

TEST(Selector, ToggleTableRowByRow) {
  TestWindow w;
  JSelector* s = CheckBox(w);
  const struct {
    int from;
    UINT message;
    int to;
    Ids posted;
  } rows[] = {
      {0, WM_LBUTTONDOWN, 1, {}},     {1, WM_LBUTTONUP, 2, {2000}},   {2, WM_LBUTTONDOWN, 3, {}},
      {3, WM_LBUTTONUP, 0, {2000}},   {0, WM_RBUTTONDOWN, 3, {}},     {3, WM_RBUTTONUP, 2, {2000}},
      {2, WM_RBUTTONDOWN, 1, {}},     {1, WM_RBUTTONUP, 0, {2000}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("from " + std::to_string(row.from) + " message " + std::to_string(row.message));
    s->value = row.from;
    EXPECT_EQ(1, w.Mouse(row.message, 105, 65));
    EXPECT_EQ(row.to, s->value);
    EXPECT_EQ(row.posted, w.Notifications());
    ExpectFrame(w, s, row.to);
  }
  for (int odd : {1, 3}) {
    s->value = odd;
    EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 200, 150));
    EXPECT_EQ(odd - 1, s->value) << "outside from " << odd;
    ExpectFrame(w, s, odd - 1);
    EXPECT_TRUE(w.Notifications().empty());
  }
}

TEST(Selector, PressThenLeaveTheBoxEndsWithoutNotification) {
  TestWindow w;
  JSelector* s = CheckBox(w);
  w.Mouse(WM_LBUTTONDOWN, 105, 65);
  ExpectFrame(w, s, 1);
  w.Mouse(WM_MOUSEMOVE, 150, 65);
  EXPECT_EQ(0, s->value);
  ExpectFrame(w, s, 0);
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONUP, 150, 65));
  EXPECT_EQ(0, s->value);
  EXPECT_TRUE(w.Notifications().empty());
}

TEST(Selector, EdgesAreInclusive) {
  TestWindow w;
  JSelector* s = CheckBox(w);
  const struct {
    int x, y;
    bool inside;
  } points[] = {{113, 73, true}, {100, 60, true}, {114, 73, false}, {113, 74, false}, {99, 65, false}, {105, 59, false}};
  for (const auto& p : points) {
    s->value = 0;
    EXPECT_EQ(p.inside ? 1 : 0, w.Mouse(WM_LBUTTONDOWN, p.x, p.y)) << "(" << p.x << ", " << p.y << ")";
    EXPECT_EQ(p.inside ? 1 : 0, s->value) << "(" << p.x << ", " << p.y << ")";
  }
}

TEST(Selector, StepModeWithMinimumOne) {
  TestWindow w;
  JSelector* s = CheckBox(w, 1, 3);
  EXPECT_EQ(0, s->toggle);
  EXPECT_EQ(1, s->value);
  for (int expected : {2, 3, 1}) {
    EXPECT_EQ(1, w.Mouse(WM_LBUTTONDOWN, 105, 65));
    EXPECT_EQ(expected, s->value);
    EXPECT_EQ(Ids{2000}, w.Notifications()) << "each step posts";
  }
  for (int expected : {0, 3}) {
    EXPECT_EQ(1, w.Mouse(WM_RBUTTONDOWN, 105, 65));
    EXPECT_EQ(expected, s->value);
    EXPECT_EQ(Ids{2000}, w.Notifications());
  }
  ExpectFrame(w, s, 3);
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONUP, 105, 65));
  EXPECT_EQ(0, w.Mouse(WM_LBUTTONDBLCLK, 105, 65));
  EXPECT_EQ(3, s->value);
}

TEST(Selector, HoverAndTheLabel) {
  TestWindow w;
  JSelector* s = CheckBox(w);
  EXPECT_EQ(0, w.Mouse(WM_MOUSEMOVE, 105, 65));
  EXPECT_EQ(1, s->hoverShown);
  w.Mouse(WM_MOUSEMOVE, 250, 150);
  EXPECT_EQ(0, s->hoverShown);
}

TEST(Selector, GridRightPressPostsTheNextCommand) {
  TestWindow w;
  JSelector* s = new JSelector(w.context(), "", MakeRect(150, 120, 10, 10), art::kGridId, 0x80008000u, "", 0, 5,
                               3000, JS_GRID, nullptr);
  EXPECT_EQ(0, w.Mouse(WM_RBUTTONDOWN, 160, 130));
  EXPECT_EQ(Ids{3001}, w.Notifications());
  EXPECT_EQ(0, s->value);
  s->commandId = 0;
  EXPECT_EQ(0, w.Mouse(WM_RBUTTONDOWN, 160, 130));
  EXPECT_TRUE(w.Notifications().empty());
}

TEST(Selector, OverlongKeyAndLabelAreCut) {
  TestWindow w;
  const std::string longText(80, 'k');
  JSelector* s = new JSelector(w.context(), "", MakeRect(0, 0, 1, 1), art::kCheckId, 0, longText.c_str(), 0, 3, 0,
                               0, longText.c_str());
  EXPECT_EQ(39u, std::strlen(s->componentKey));
  EXPECT_EQ(39u, std::strlen(s->label));
  EXPECT_EQ(0, s->toggle) << "the field after componentKey is intact";
}

}  // namespace
