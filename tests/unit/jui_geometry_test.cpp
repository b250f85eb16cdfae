// The toolkit's drawing geometry: the tile grid, the centre-out column
// order, rectangles and hit tests.
#include <gtest/gtest.h>

#include <vector>

#include "jui/ColumnOrder.h"
#include "jui/PlainRect.h"
#include "jui/TileGrid.h"

namespace {

// Lays the tiles into a grid of source coordinates (-1: untouched) and
// checks that every source block lies inside the picture.
struct Laid {
  int width;
  int height;
  std::vector<int> sx;
  std::vector<int> sy;
  Laid(int w, int h) : width(w), height(h), sx(w * h, -1), sy(w * h, -1) {}
  void Tile(int pw, int ph, const PlainRect& area) {
    TileWalk walk;
    StartTiles(&walk, pw, ph, area);
    TileBlit b;
    while (NextTile(&walk, &b)) {
      EXPECT_GT(b.width, 0);
      EXPECT_GT(b.height, 0);
      EXPECT_GE(b.sx, 0);
      EXPECT_GE(b.sy, 0);
      EXPECT_LE(b.sx + b.width, pw) << "source block right of the picture";
      EXPECT_LE(b.sy + b.height, ph) << "source block below the picture";
      for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
          sx[(b.y + y) * width + b.x + x] = b.sx + x;
          sy[(b.y + y) * width + b.x + x] = b.sy + y;
        }
    }
  }
};

TEST(TileGrid, EveryPixelGetsThePicturePixelOfItsGridCell) {
  const PlainRect areas[] = {{250, 0, 420, 120}, {0, 0, 100, 50}, {99, 49, 101, 51}, {3, 7, 4, 8}, {0, 0, 450, 150}};
  for (const PlainRect& area : areas) {
    Laid laid(450, 150);
    laid.Tile(100, 50, area);
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 450; ++x) {
        const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
        ASSERT_EQ(inside ? x % 100 : -1, laid.sx[y * 450 + x]) << "x of (" << x << ", " << y << ")";
        ASSERT_EQ(inside ? y % 50 : -1, laid.sy[y * 450 + x]) << "y of (" << x << ", " << y << ")";
      }
  }
}

TEST(TileGrid, NothingToLayForEmptyAreasOrPictures) {
  const struct {
    int w, h;
    PlainRect area;
  } cases[] = {{0, 10, {0, 0, 50, 50}}, {10, 0, {0, 0, 50, 50}}, {10, 10, {5, 5, 5, 40}}, {10, 10, {9, 9, 3, 3}}};
  for (const auto& c : cases) {
    TileWalk walk;
    StartTiles(&walk, c.w, c.h, c.area);
    TileBlit b;
    EXPECT_FALSE(NextTile(&walk, &b)) << c.w << " x " << c.h;
  }
}

TEST(TileGrid, AreasLeftOfOrAboveTheOriginStayOnTheGrid) {
  EXPECT_EQ(99, TileSourceOf(-1, 100));
  EXPECT_EQ(0, TileSourceOf(-100, 100));
  TileWalk walk;
  StartTiles(&walk, 10, 10, PlainRect{-3, -12, 2, -9});
  TileBlit b;
  ASSERT_TRUE(NextTile(&walk, &b));
  EXPECT_EQ(-3, b.x);
  EXPECT_EQ(7, b.sx);
  EXPECT_EQ(8, b.sy);
  EXPECT_EQ(3, b.width);
}

TEST(ColumnOrder, CentreOutVisitsEveryColumnOnce) {
  const std::vector<int> six = {3, 2, 4, 1, 5, 0};
  const std::vector<int> five = {2, 1, 3, 0, 4};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(six[i], CentreOutColumn(6, i)) << "i " << i;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(five[i], CentreOutColumn(5, i)) << "i " << i;
  EXPECT_EQ(0, CentreOutColumn(1, 0));
  for (int width = 1; width <= 64; ++width) {
    std::vector<int> seen(width, 0);
    for (int i = 0; i < width; ++i) {
      const int c = CentreOutColumn(width, i);
      ASSERT_GE(c, 0) << "width " << width << " i " << i;
      ASSERT_LT(c, width) << "width " << width << " i " << i;
      ++seen[c];
    }
    for (int c = 0; c < width; ++c) EXPECT_EQ(1, seen[c]) << "width " << width << " column " << c;
  }
}

TEST(PlainRect, MakeRectCutsEachArgumentToSigned16Bits) {
  PlainRect r = MakePlainRect(0x10005, 2, 3, 4);
  EXPECT_EQ(5, r.left);
  EXPECT_EQ(2, r.top);
  EXPECT_EQ(8, r.right);
  EXPECT_EQ(6, r.bottom);
  r = MakePlainRect(0xFFFF, 0x8000, 0x1FFFE, 0);
  EXPECT_EQ(-1, r.left);
  EXPECT_EQ(-32768, r.top);
  EXPECT_EQ(-3, r.right);
  EXPECT_EQ(-32768, r.bottom);
}

TEST(PlainRect, HitTestsAndPointerCoordinates) {
  const PlainRect box{10, 20, 30, 40};
  EXPECT_FALSE(InsideStrict(box, 10, 25));
  EXPECT_TRUE(InsideStrict(box, 11, 21));
  EXPECT_TRUE(InsideStrict(box, 29, 39));
  EXPECT_FALSE(InsideStrict(box, 30, 25));
  EXPECT_FALSE(InsideStrict(box, 15, 40));
  EXPECT_TRUE(InsideInclusive(box, 10, 20));
  EXPECT_TRUE(InsideInclusive(box, 30, 40));
  EXPECT_FALSE(InsideInclusive(box, 31, 40));
  EXPECT_FALSE(InsideInclusive(box, 30, 41));
  // (-1, -1) packed reads as (65535, 65535) and never hits.
  const std::uintptr_t left = 0xFFFFFFFFu;
  EXPECT_EQ(65535, PointerX(left));
  EXPECT_EQ(65535, PointerY(left));
  EXPECT_EQ(300, PointerX(0x00C8012Cu));
  EXPECT_EQ(200, PointerY(0x00C8012Cu));
}

}  // namespace
