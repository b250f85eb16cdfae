// Tiling, transparent drawing and the per-pixel copies, drawn into DIB
// sections pre-filled with a sentinel colour and read back pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include "check_colour.h"
#include "dib_canvas.h"
#include "jui/BitmapCache.h"
#include "jui/PixelCopies.h"
#include "jui/TileBitmap.h"
#include "test_art.h"

namespace {

constexpr COLORREF S = DibCanvas::kSentinel;

// A cached picture for one test, given back at the end.
class Picture {
 public:
  explicit Picture(unsigned id) : record_() {
    HDC screen = GetDC(nullptr);
    LoadCachedBitmap(id, &record_, GetModuleHandleA(nullptr), screen);
    ReleaseDC(nullptr, screen);
  }
  ~Picture() { ReleaseCachedBitmap(&record_); }
  const JBitmap* get() const { return &record_; }

 private:
  JBitmap record_;
};

bool InRect(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

TEST(TileBitmap, GridIsAnchoredAtTheOriginAndClippedToTheRectangle) {
  Picture bg(art::kBackgroundId);
  ASSERT_EQ(100, bg.get()->width);
  ASSERT_EQ(50, bg.get()->height);
  DibCanvas canvas(450, 150);
  const RECT area = {250, 0, 420, 120};
  TileBitmap(bg.get(), canvas.dc(), area);

  EXPECT_PIXEL(art::Background(50, 0), canvas.Pixel(250, 0), 250, 0);
  EXPECT_PIXEL(art::Background(0, 10), canvas.Pixel(300, 60), 300, 60);
  EXPECT_PIXEL(art::Background(19, 19), canvas.Pixel(419, 119), 419, 119);
  int wrong = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 450; ++x) {
      const COLORREF expected = InRect(area, x, y) ? art::BackgroundAt(x, y) : S;
      if (canvas.Pixel(x, y) != expected && wrong++ < 5) {
        EXPECT_PIXEL(expected, canvas.Pixel(x, y), x, y);
      }
    }
  EXPECT_EQ(0, wrong) << "pixels that differ from the tiling rule";
}

TEST(TileBitmap, RetilingPartOfAnAreaGivesTheSamePixels) {
  Picture bg(art::kBackgroundId);
  DibCanvas whole(450, 150);
  DibCanvas patched(450, 150);
  const RECT area = {7, 3, 433, 141};
  TileBitmap(bg.get(), whole.dc(), area);
  TileBitmap(bg.get(), patched.dc(), area);
  const RECT parts[] = {{120, 40, 263, 97}, {7, 3, 8, 4}, {399, 99, 433, 141}, {150, 49, 151, 51}};
  for (const RECT& part : parts) {
    patched.FillRect(part, S);
    TileBitmap(bg.get(), patched.dc(), part);
  }
  int wrong = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 450; ++x)
      if (whole.Pixel(x, y) != patched.Pixel(x, y) && wrong++ < 5) {
        EXPECT_PIXEL(whole.Pixel(x, y), patched.Pixel(x, y), x, y);
      }
  EXPECT_EQ(0, wrong);
}

TEST(TileBitmap, NoImageDrawsNothing) {
  JBitmap none = {};
  none.width = 10;
  none.height = 10;
  DibCanvas canvas(40, 40);
  TileBitmap(&none, canvas.dc(), RECT{0, 0, 40, 40});
  TileBitmap(nullptr, canvas.dc(), RECT{0, 0, 40, 40});
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(Hex(S), Hex(canvas.Pixel(x, y))) << DibCanvas::At(x, y);
}

// Checks that the picture landed at (ox, oy) with white left out and
// everything else untouched.
void ExpectButtonAt(const DibCanvas& canvas, int ox, int oy) {
  int wrong = 0;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      COLORREF expected = S;
      if (x >= ox && x < ox + 58 && y >= oy && y < oy + 19) {
        const COLORREF source = art::Button(x - ox, y - oy);
        if (source != art::kWhite) expected = source;
      }
      if (canvas.Pixel(x, y) != expected && wrong++ < 5) {
        EXPECT_PIXEL(expected, canvas.Pixel(x, y), x, y);
      }
    }
  EXPECT_EQ(0, wrong);
}

TEST(DrawTransparent, SkipsPureWhiteOnlyAndAppliesTheOffset) {
  Picture button(art::kButtonId);
  ASSERT_EQ(art::kWhite, art::Button(0, 0));
  ASSERT_EQ(art::kNearWhite, art::Button(3, 0));
  DibCanvas canvas(80, 40);
  DrawTransparent(button.get(), canvas.dc(), 5, 7, 1, 2);
  EXPECT_PIXEL(S, canvas.Pixel(6, 9), 6, 9);                     // white source
  EXPECT_PIXEL(art::kNearWhite, canvas.Pixel(9, 9), 9, 9);       // 0xFEFFFF source
  ExpectButtonAt(canvas, 6, 9);

  DibCanvas direct(80, 40);
  DrawTransparentDirect(button.get(), direct.dc(), 5, 7);
  ExpectButtonAt(direct, 5, 7);
}

// The compact forms of the installer's artwork, as LoadBitmapA reads them:
// every pixel the same through the tiling (BitBlt) and the per-pixel copies
// (GetPixel), white left out only by the transparent one.
TEST(CompactForms, EveryFormLoadsToThePixelsItWasWrittenFrom) {
  const char* names[] = {"8-bit palette", "RLE8", "4-bit palette", "RLE4"};
  for (int f = 0; f < 4; ++f) {
    SCOPED_TRACE(names[f]);
    Picture form(art::kFormIds[f]);
    ASSERT_EQ(art::kFormWidth, form.get()->width);
    ASSERT_EQ(art::kFormHeight, form.get()->height);
    DibCanvas tiled(art::kFormWidth, art::kFormHeight);
    DibCanvas drawn(art::kFormWidth + 2, art::kFormHeight + 1);
    TileBitmap(form.get(), tiled.dc(), RECT{0, 0, art::kFormWidth, art::kFormHeight});
    DrawTransparent(form.get(), drawn.dc(), 2, 1, 0, 0);
    int wrong = 0, whites = 0;
    for (int y = 0; y < art::kFormHeight; ++y)
      for (int x = 0; x < art::kFormWidth; ++x) {
        const COLORREF want = art::Forms(x, y);
        whites += want == art::kWhite;
        if (tiled.Pixel(x, y) != want && wrong++ < 5) EXPECT_PIXEL(want, tiled.Pixel(x, y), x, y);
        const COLORREF over = want == art::kWhite ? S : want;
        if (drawn.Pixel(x + 2, y + 1) != over && wrong++ < 5) EXPECT_PIXEL(over, drawn.Pixel(x + 2, y + 1), x, y);
      }
    EXPECT_EQ(0, wrong);
    EXPECT_GT(whites, 0) << "the picture holds see-through pixels";
  }
}

TEST(PixelCopies, WithoutImageEveryPixelOfTheAreaIsBlack) {
  JBitmap none = {};
  none.width = 4;
  none.height = 3;
  struct Case {
    const char* name;
    void (*draw)(const JBitmap*, HDC);
    RECT area;
  } cases[] = {
      {"DrawTransparent", [](const JBitmap* b, HDC dc) { DrawTransparent(b, dc, 2, 3, 1, 1); }, {3, 4, 7, 7}},
      {"DrawTransparentDirect", [](const JBitmap* b, HDC dc) { DrawTransparentDirect(b, dc, 2, 3); }, {2, 3, 6, 6}},
      {"CopyColumns", [](const JBitmap* b, HDC dc) { CopyColumns(b, dc, 1, 5, 3, 6); }, {5, 6, 7, 9}},
      {"CopyColumnsTransparent", [](const JBitmap* b, HDC dc) { CopyColumnsTransparent(b, dc, 1, 5, 3, 6); },
       {5, 6, 7, 9}},
      {"CopyColumnsTransposed", [](const JBitmap* b, HDC dc) { CopyColumnsTransposed(b, dc, 0, 1, 3, 1); },
       {1, 1, 4, 4}},
      {"CopyRegion", [](const JBitmap* b, HDC dc) { CopyRegion(b, dc, RECT{2, 2, 7, 4}, 0, 0); }, {2, 2, 7, 4}},
      {"CopyRegionTransposed",
       [](const JBitmap* b, HDC dc) { CopyRegionTransposed(b, dc, RECT{2, 2, 7, 4}, 0, 0); }, {2, 2, 4, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DibCanvas canvas(12, 12);
    c.draw(&none, canvas.dc());
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) EXPECT_PIXEL(InRect(c.area, x, y) ? 0 : S, canvas.Pixel(x, y), x, y);
  }
}

TEST(PixelCopies, ColumnsPlainAndTransparent) {
  Picture strip(art::kCheckId);
  DibCanvas plain(40, 20);
  DibCanvas seeThrough(40, 20);
  CopyColumns(strip.get(), plain.dc(), 13, 2, 26, 3);
  CopyColumnsTransparent(strip.get(), seeThrough.dc(), 13, 2, 26, 3);
  int whites = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 2 && x < 15 && y >= 3 && y < 16;
      const COLORREF source = inside ? art::Check(13 + x - 2, y - 3) : S;
      if (inside && source == art::kWhite) ++whites;
      EXPECT_PIXEL(source, plain.Pixel(x, y), x, y);
      EXPECT_PIXEL(source == art::kWhite ? S : source, seeThrough.Pixel(x, y), x, y);
    }
  EXPECT_GT(whites, 0) << "the frame holds white pixels to leave out";
}

TEST(PixelCopies, ColumnsTransposedMirrorsOneSquareFrame) {
  Picture strip(art::kTallId);
  ASSERT_EQ(26, strip.get()->height);
  DibCanvas canvas(50, 40);
  CopyColumnsTransposed(strip.get(), canvas.dc(), 26, 10, 52, 5);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) {
      const bool inside = x >= 10 && x < 36 && y >= 5 && y < 31;
      // destination (10 + i, 5 + j) from source (26 + j, i)
      EXPECT_PIXEL(inside ? art::Tall(26 + (y - 5), x - 10) : S, canvas.Pixel(x, y), x, y);
    }
}

TEST(PixelCopies, RegionPlainAndTransposed) {
  Picture grid(art::kGridId);
  DibCanvas plain(40, 40);
  CopyRegion(grid.get(), plain.dc(), RECT{5, 6, 31, 32}, 26, 26);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 5 && x < 31 && y >= 6 && y < 32;
      EXPECT_PIXEL(inside ? art::Grid(26 + x - 5, 26 + y - 6) : S, plain.Pixel(x, y), x, y);
    }

  // A 10 x 6 block fills a 6 x 10 area at the rectangle's top-left.
  Picture tall(art::kTallId);
  DibCanvas mirrored(20, 20);
  CopyRegionTransposed(tall.get(), mirrored.dc(), RECT{3, 4, 13, 10}, 30, 2);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 3 && x < 9 && y >= 4 && y < 14;
      // block pixel (i, j) goes to (3 + j, 4 + i)
      EXPECT_PIXEL(inside ? art::Tall(30 + (y - 4), 2 + (x - 3)) : S, mirrored.Pixel(x, y), x, y);
    }
}

}  // namespace
