// The relief effect on pixel blocks, the band walk over the filter rectangle,
// and the filter's answers on the image a host describes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin/FilterBands.h"
#include "plugin/ImageModes.h"
#include "plugin/ReliefFilter.h"
#include "plugin/ReliefKernel.h"

using namespace relief;

namespace {

TEST(ReliefValue, GreyForFlatAreasTruncatedAndClamped) {
  EXPECT_EQ(128, ReliefValue(0, 0, 0, 0, 0, 0));
  EXPECT_EQ(128, ReliefValue(77, 77, 77, 77, 77, 77));
  EXPECT_EQ(129, ReliefValue(0, 0, 0, 1, 1, 1)) << "+3/2 rounds towards zero";
  EXPECT_EQ(127, ReliefValue(1, 1, 1, 0, 0, 0)) << "-3/2 rounds towards zero";
  EXPECT_EQ(128, ReliefValue(0, 0, 1, 0, 0, 0)) << "-1/2 rounds towards zero";
  EXPECT_EQ(255, ReliefValue(0, 0, 0, 255, 255, 255));
  EXPECT_EQ(0, ReliefValue(255, 255, 255, 0, 0, 0));
  EXPECT_EQ(255, ReliefValue(0, 0, 0, 255, 0, 0)) << "128 + 127 just reaches white";
}

// A 4x3 image of two planes; the relief of the whole image uses the border
// pixels for the neighbours beyond it.
TEST(ReliefBlock, WholeImageWithPaddedRowsAndAnUntouchedPlane) {
  const uint8_t values[3][4] = {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}};
  const int inRow = 4 * 2 + 3;  // two planes, three bytes of row padding
  std::vector<uint8_t> in(inRow * 3, 0xEE);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      in[y * inRow + x * 2] = values[y][x];
      in[y * inRow + x * 2 + 1] = 200;
    }
  const int outRow = 4 * 2 + 1;
  std::vector<uint8_t> out(outRow * 3 + 8, 0x5A);
  const PixelBlock inBlock{0, 0, 4, 3, inRow, 2};
  const PixelBlock outBlock{0, 0, 4, 3, outRow, 2};
  ReliefBlock(in.data(), inBlock, out.data(), outBlock, 1);
  auto v = [&](int x, int y) {
    x = x < 0 ? 0 : x > 3 ? 3 : x;
    y = y < 0 ? 0 : y > 2 ? 2 : y;
    return int(values[y][x]);
  };
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const int sum = v(x + 1, y) + v(x, y + 1) + v(x + 1, y + 1) - v(x - 1, y) - v(x, y - 1) - v(x - 1, y - 1);
      EXPECT_EQ(128 + sum / 2, out[y * outRow + x * 2]) << "x=" << x << ",y=" << y;
      EXPECT_EQ(0x5A, out[y * outRow + x * 2 + 1]) << "second plane untouched, x=" << x << ",y=" << y;
    }
  for (int y = 0; y < 3; ++y) EXPECT_EQ(0x5A, out[y * outRow + 8]) << "row padding untouched, row " << y;
  for (std::size_t i = outRow * 3; i < out.size(); ++i) EXPECT_EQ(0x5A, out[i]) << "sentinel byte " << i;
}

TEST(ReliefBlock, InnerBlockReadsNeighboursFromTheSurroundingInput) {
  // Input rows 4..7, columns 9..12 of a vertical ramp; output only 5..6 x 10..11.
  std::vector<uint8_t> in(4 * 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) in[y * 4 + x] = static_cast<uint8_t>(10 * (y + 4));
  uint8_t out[2 * 2] = {};
  ReliefBlock(in.data(), PixelBlock{9, 4, 13, 8, 4, 1}, out, PixelBlock{10, 5, 12, 7, 2, 1}, 1);
  // Each pixel: (E + S + SE) - (W + N + NW) = (r + 2(r+10)) - (r + 2(r-10)) = 40, so 128 + 20.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(148, out[i]) << "pixel " << i;
}

TEST(FilterBands, ModesPlanesAndGeometry) {
  EXPECT_EQ(1, ColourPlanes(kModeGray));
  EXPECT_EQ(3, ColourPlanes(kModeRgb));
  EXPECT_EQ(4, ColourPlanes(kModeCmyk));
  EXPECT_EQ(3, ColourPlanes(kModeLab));
  EXPECT_EQ(1, ColourPlanes(kModeGray16));
  EXPECT_EQ(3, ColourPlanes(kModeRgb48));
  EXPECT_EQ(3, ColourPlanes(kModeLab48));
  EXPECT_EQ(4, ColourPlanes(kModeCmyk64));
  for (int mode : {0, 2, 5, 6, 7, 8, 14, 15, 16, 17, -1}) EXPECT_EQ(0, ColourPlanes(mode)) << "mode " << mode;
  EXPECT_TRUE(GeometryIsSound(Area{0, 0, 10, 20}, 20, 10, 3, 3));
  EXPECT_TRUE(GeometryIsSound(Area{4, 4, 4, 9}, 20, 10, 4, 3)) << "empty but inside";
  EXPECT_FALSE(GeometryIsSound(Area{0, 0, 11, 20}, 20, 10, 3, 3)) << "past the bottom";
  EXPECT_FALSE(GeometryIsSound(Area{0, -1, 10, 20}, 20, 10, 3, 3)) << "left of the image";
  EXPECT_FALSE(GeometryIsSound(Area{5, 0, 4, 20}, 20, 10, 3, 3)) << "upside down";
  EXPECT_FALSE(GeometryIsSound(Area{0, 0, 10, 20}, 20, 10, 2, 3)) << "fewer planes than colours";
  EXPECT_FALSE(GeometryIsSound(Area{0, 0, 0, 0}, 0, 10, 3, 3)) << "no image";
}

TEST(FilterBands, BandRowsCountBothBuffersAndTheExtraRows) {
  // 100 pixels of 3 bytes, input grown by 1 pixel: 306 input, 300 output bytes a row.
  EXPECT_EQ(kBandBudget / 306 - 2, BandRows(100, 3, 3, 0)) << "no maxSpace: the budget";
  EXPECT_EQ(kBandBudget / 306 - 2, BandRows(100, 3, 3, 1 << 30)) << "plenty of memory: the budget";
  EXPECT_EQ((60000 - 2 * 306) / (306 + 300), BandRows(100, 3, 3, 60000)) << "input, its extra rows and output fit";
  // Height 10: 120 input pixels a row, 20 extra rows.
  EXPECT_EQ((200000 - 20 * 480) / (480 + 300), BandRows(100, 4, 3, 200000, 10));
  EXPECT_EQ(kMinBandRows, BandRows(30000, 3, 3, 1000)) << "never thinner than the floor";
  EXPECT_EQ(kMinBandRows, BandRows(100, 3, 3, 7000, 10)) << "the extra rows alone fill maxSpace";
}

TEST(FilterBands, BandsCoverTheRectangleOnceWithGrownClippedInput) {
  const Area filter{3, 0, 20, 15};  // touches the left and bottom image edges
  const int width = 30, height = 20;
  std::vector<int> covered(height, 0);
  Area in{}, out{};
  int row = filter.top, bands = 0;
  while (PlanBand(filter, width, height, row, 6, &in, &out)) {
    ++bands;
    EXPECT_EQ(row, out.top);
    EXPECT_EQ(filter.left, out.left);
    EXPECT_EQ(filter.right, out.right);
    EXPECT_LE(out.bottom - out.top, 6);
    EXPECT_LE(in.top, out.top - 1) << "band at " << row;
    EXPECT_EQ(0, in.left) << "clipped at the image's left edge";
    EXPECT_EQ(16, in.right);
    EXPECT_GE(in.bottom, out.bottom < height ? out.bottom + 1 : height) << "band at " << row;
    EXPECT_EQ(8, in.bottom - in.top) << "every band's input as tall as a full band's, band at " << row;
    for (int y = out.top; y < out.bottom; ++y) ++covered[y];
    row = out.bottom;
  }
  EXPECT_EQ(3, bands);
  for (int y = 0; y < height; ++y) EXPECT_EQ(y >= 3 ? 1 : 0, covered[y]) << "row " << y;
  EXPECT_FALSE(PlanBand(filter, width, height, 2, 6, &in, &out)) << "above the rectangle";
  EXPECT_FALSE(PlanBand(Area{5, 5, 5, 9}, width, height, 5, 6, &in, &out)) << "empty rectangle";
}

HostImage Image(int16_t mode, int width, int height, int planes, Area filter, bool transparency = false) {
  HostImage image;
  image.imageMode = mode;
  image.width = width;
  image.height = height;
  image.planes = planes;
  image.filter = filter;
  image.maxSpace = 1 << 20;
  image.transparency = transparency;
  return image;
}

TEST(ReliefFilter, StartAsksForTheFirstBandAndRefusesWhatItCannotDo) {
  const HostImage rgb = Image(kModeRgb, 40, 30, 4, Area{5, 6, 25, 30}, true);
  BandRequest band;
  EXPECT_EQ(kResultOk, PrepareFilter(rgb));
  EXPECT_EQ(kResultOk, StartFilter(rgb, kDefaultSettings, &band));
  EXPECT_EQ(4, band.in.top);
  EXPECT_EQ(5, band.in.left);
  EXPECT_EQ(26, band.in.bottom);
  EXPECT_EQ(31, band.in.right);
  EXPECT_EQ(5, band.out.top);
  EXPECT_EQ(25, band.out.bottom) << "the whole rectangle fits in one band";
  EXPECT_EQ(4, band.inPlanes) << "the colour planes and the transparency plane";
  EXPECT_EQ(3, band.outPlanes) << "the transparency plane is never written";
  EXPECT_EQ(kResultOk, StartFilter(Image(kModeRgb, 40, 30, 4, Area{0, 0, 30, 40}), kDefaultSettings, &band));
  EXPECT_EQ(3, band.inPlanes) << "an extra plane that is not transparency is not read";

  HandedBand none;
  none.outArea = Area{5, 6, 25, 30};
  EXPECT_EQ(kResultBadParameters, ContinueFilter(rgb, none, kDefaultSettings, RunRowsHere, &band))
      << "a host that hands over no buffers";
  EXPECT_TRUE(IsEmpty(band.out)) << "and nothing more is asked for";

  const HostImage indexed = Image(kModeIndexed, 40, 30, 1, Area{0, 0, 30, 40});
  EXPECT_EQ(kResultBadMode, PrepareFilter(indexed));
  EXPECT_EQ(kResultBadMode, StartFilter(indexed, kDefaultSettings, &band));
  EXPECT_EQ(kResultBadMode, ContinueFilter(indexed, none, kDefaultSettings, RunRowsHere, &band));
  const HostImage cmyk = Image(kModeCmyk, 40, 30, 4, Area{0, 0, 30, 40});
  EXPECT_EQ(kResultOk, StartFilter(cmyk, kDefaultSettings, &band));
  EXPECT_EQ(4, band.outPlanes) << "four ink planes";
  EXPECT_EQ(kResultBadParameters, StartFilter(cmyk, ReliefSettings{0, 11, 100, ReliefResult::kGrey}, &band))
      << "settings out of range";
  EXPECT_EQ(kResultBadParameters,
            ContinueFilter(cmyk, none, ReliefSettings{0, 1, 0, ReliefResult::kGrey}, RunRowsHere, &band));
  EXPECT_EQ(kResultBadParameters, StartFilter(Image(kModeGray, 40, 30, 1, Area{0, 0, 31, 40}), kDefaultSettings, &band));
  EXPECT_TRUE(IsEmpty(band.in) && IsEmpty(band.out)) << "nothing asked for after a refusal";
}

}  // namespace
