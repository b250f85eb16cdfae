// Widgets at a display scale of 200 %: their pictures at twice the size
// (the test's resources hold no larger set, so the 100 % pictures are
// enlarged), the pressed look and hit test at that size.
#include <gtest/gtest.h>
#include <windows.h>

#include "jui/DisplayScale.h"
#include "test_art.h"
#include "test_window.h"

namespace {

using Ids = std::vector<int>;

class ScaledWidgets : public testing::Test {
 protected:
  ScaledWidgets() { SetDisplayDpi(w.context(), 192); }
  // The fonts go back to the 100 % ones for the tests after these.
  ~ScaledWidgets() override { SetDisplayDpi(w.context(), 0); }
  TestWindow w;
};

TEST_F(ScaledWidgets, AButtonIsTwiceItsPictureAndAClickInTheLargerPartPosts) {
  JButton* button = new JButton(w.context(), "", MakeRect(20, 20, 0, 0), art::kButtonId, art::kButtonId, 219);
  ASSERT_NE(nullptr, button->normalImage);
  EXPECT_EQ(116, button->normalImage->width);
  EXPECT_EQ(38, button->normalImage->height);
  EXPECT_EQ(2, button->pressOffset) << "one pixel of the design";
  EXPECT_EQ(20 + 116 + 2, button->bounds.right);
  EXPECT_EQ(20 + 38 + 2, button->bounds.bottom);
  EXPECT_EQ(0, button->pressedImage->fresh) << "the pressed look shares the scaled picture";

  // Beyond the 100 % picture (58 x 19), inside the 200 % one.
  w.Mouse(WM_LBUTTONDOWN, 20 + 100, 20 + 30);
  w.Mouse(WM_LBUTTONUP, 20 + 100, 20 + 30);
  EXPECT_EQ(Ids{219}, w.Notifications());
}

TEST_F(ScaledWidgets, ACheckBoxHasFramesAndABoxTwiceAsLarge) {
  RECT position = {30, 40, 100, 30};
  JSelector* box = new JSelector(w.context(), "", position, art::kCheckId, 0x80288000, "x", 0, -3, 2000, 0, "");
  ASSERT_NE(nullptr, box->strip);
  EXPECT_EQ(104, box->strip->width) << "four frames of 26";
  EXPECT_EQ(26, box->strip->height);
  EXPECT_EQ(30 + 26, box->hitRect.right);
  EXPECT_EQ(40 + 26, box->hitRect.bottom);
  w.Mouse(WM_LBUTTONDOWN, 30 + 20, 40 + 20);
  w.Mouse(WM_LBUTTONUP, 30 + 20, 40 + 20);
  EXPECT_EQ(Ids{2000}, w.Notifications()) << "a click in the 200 % box, outside the 100 % one";
  EXPECT_EQ(2, box->value);
}

TEST_F(ScaledWidgets, PlacedAgainAfterAChangeOfScaleAButtonTakesTheNewScalesSize) {
  SetDisplayDpi(w.context(), 0);
  JButton* button = new JButton(w.context(), "", MakeRect(10, 10, 0, 0), art::kButtonId, art::kButtonId, 2);
  EXPECT_EQ(10 + 58 + 1, button->bounds.right);
  SetDisplayDpi(w.context(), 192);
  button->Place(MakeRect(20, 20, 0, 0), art::kButtonId, art::kButtonId, 2);
  EXPECT_EQ(20 + 116 + 2, button->bounds.right);
  EXPECT_EQ(20 + 38 + 2, button->bounds.bottom);
  EXPECT_EQ(2, button->pressOffset);
  EXPECT_EQ(116, button->normalImage->width);
}

}  // namespace
