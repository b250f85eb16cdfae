// The selector's frames drawn into DIB sections: strip frames (plain,
// see-through, transposed, wide, beyond the strip), grid cells and the
// hidden look. The context composes through a DIB back buffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "check_colour.h"
#include "dib_canvas.h"
#include "jui/BitmapCache.h"
#include "jui/JSelector.h"
#include "test_art.h"

namespace {

constexpr COLORREF S = DibCanvas::kSentinel;

class SelectorDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    context_ = JContext();
    context_.instance = GetModuleHandleA(nullptr);
    context_.backDC = back_.dc();
    context_.background = new JBitmap();
    LoadCachedBitmap(art::kBackgroundId, context_.background, context_.instance, back_.dc());
  }
  void TearDown() override {
    for (int i = 0; i < context_.elementCount; ++i) delete context_.elements[i];
    ReleaseCachedBitmap(context_.background);
    delete context_.background;
  }
  JSelector* Make(unsigned strip, int flags, int left = 20, int top = 10) {
    RECT position = {left, top, 60, 30};
    return new JSelector(&context_, "", position, strip, 0x80008000u, "", 0, 7, 0, flags, "key");
  }
  // Every pixel of the screen canvas: `box` pixels from `expected`, the rest untouched.
  template <typename Expected>
  void ExpectBox(const RECT& box, Expected expected) {
    int wrong = 0;
    for (int y = 0; y < screen_.height(); ++y)
      for (int x = 0; x < screen_.width(); ++x) {
        const bool inside = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
        const COLORREF want = inside ? expected(x - box.left, y - box.top) : S;
        if (screen_.Pixel(x, y) != want && wrong++ < 5) {
        EXPECT_PIXEL(want, screen_.Pixel(x, y), x, y);
      }
      }
    EXPECT_EQ(0, wrong);
  }

  DibCanvas back_{120, 80};
  DibCanvas screen_{120, 80};
  JContext context_;
};

TEST_F(SelectorDrawTest, StripFrameCopiedOpaque) {
  JSelector* s = Make(art::kCheckId, 0);
  EXPECT_EQ(33, s->hitRect.right);
  EXPECT_EQ(23, s->hitRect.bottom);
  s->value = 2;
  s->Draw(screen_.dc());
  ExpectBox(s->hitRect, [](int i, int j) { return art::Check(26 + i, j); });
}

TEST_F(SelectorDrawTest, StripFrameSeeThroughShowsTheBackground) {
  JSelector* s = Make(art::kCheckId, JS_TRANSPARENT);
  s->value = 1;
  s->Draw(screen_.dc());
  ExpectBox(s->hitRect, [](int i, int j) {
    const COLORREF c = art::Check(13 + i, j);
    return c == art::kWhite ? art::BackgroundAt(20 + i, 10 + j) : c;
  });
}

TEST_F(SelectorDrawTest, StripFrameTransposedIgnoresSeeThrough) {
  JSelector* s = Make(art::kTallId, JS_TRANSPOSE | JS_TRANSPARENT);
  s->value = 2;
  s->Draw(screen_.dc());
  ExpectBox(s->hitRect, [](int i, int j) { return art::Tall(52 + j, i); });
}

TEST_F(SelectorDrawTest, WideFramesAreTwiceAsWideAsHigh) {
  JSelector* s = Make(art::kWideId, JS_WIDE);
  EXPECT_EQ(40, s->hitRect.right);
  EXPECT_EQ(20, s->hitRect.bottom);
  s->value = 1;
  s->Draw(screen_.dc());
  ExpectBox(s->hitRect, [](int i, int j) { return art::Wide(20 + i, j); });
}

TEST_F(SelectorDrawTest, FrameBeyondTheStripDrawsNothing) {
  JSelector* s = Make(art::kCheckId, 0);
  for (int v : {4, 7, -1}) {
    s->value = v;
    s->Draw(screen_.dc());
    ExpectBox(RECT{0, 0, 0, 0}, [](int, int) { return S; });
  }
}

TEST_F(SelectorDrawTest, GridCellsPlainAndTransposed) {
  JSelector* s = Make(art::kGridId, JS_GRID);
  EXPECT_EQ(46, s->hitRect.right);
  EXPECT_EQ(36, s->hitRect.bottom);
  s->value = 6;  // column 2, row 1
  s->Draw(screen_.dc());
  ExpectBox(s->hitRect, [](int i, int j) { return art::Grid(52 + i, 26 + j); });

  screen_.Fill(S);
  JSelector* t = Make(art::kGridId, JS_GRID | JS_TRANSPOSE, 60, 40);
  t->value = 3;
  t->Draw(screen_.dc());
  ExpectBox(t->hitRect, [](int i, int j) { return art::Grid(78 + j, i); });

  screen_.Fill(S);
  t->value = 8;  // no ninth cell in a 4 x 2 grid
  t->Draw(screen_.dc());
  ExpectBox(RECT{0, 0, 0, 0}, [](int, int) { return S; });
}

TEST_F(SelectorDrawTest, HiddenSelectorErasesItsWholeArea) {
  JSelector* s = Make(art::kCheckId, 0);
  s->visible = 0;
  s->Draw(screen_.dc());
  ExpectBox(RECT{20, 10, 80, 40}, [](int i, int j) { return art::BackgroundAt(20 + i, 10 + j); });
}

TEST_F(SelectorDrawTest, ValueOnlyHolderNeverDraws) {
  RECT position = {20, 10, 60, 30};
  JSelector* s = new JSelector(&context_, "", position, art::kCheckId, 0, "", 2, 5, 0, JS_VALUE_ONLY, nullptr);
  EXPECT_EQ(nullptr, s->strip);
  EXPECT_EQ(2, s->value);
  s->Draw(screen_.dc());
  s->SetValue(99);
  EXPECT_EQ(99, s->value);
  EXPECT_EQ(99, s->GetValue());
  ExpectBox(RECT{0, 0, 0, 0}, [](int, int) { return S; });
}

TEST_F(SelectorDrawTest, ValueAccessRelativeAndClamped) {
  RECT position = {20, 10, 60, 30};
  JSelector* s = new JSelector(&context_, "", position, art::kCheckId, 0, "", 2, 5, 0, 0, nullptr);
  s->value = 3;
  EXPECT_EQ(1, s->GetValue());
  s->SetValue(10);
  EXPECT_EQ(5, s->value);
  s->SetValue(-4);
  EXPECT_EQ(2, s->value);
}

}  // namespace
