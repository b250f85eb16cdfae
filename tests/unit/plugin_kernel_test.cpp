// The relief with settings, natively: weights from the light's angle, every
// mode and depth against the plain floating-point reference, transparency at
// edges, rows done in any split, the 16-bit buffers a host hands over, and
// how the rows are shared among threads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/ImageModes.h"
#include "plugin/ParallelRows.h"
#include "plugin/ReliefFilter.h"
#include "plugin/ReliefKernel.h"
#include "tests/plugin/ReliefReference.h"
#include "tests/plugin/TestModes.h"

using namespace relief;

namespace {

TestImage Noise(int width, int height, int planes, int sampleBytes, uint32_t seed) {
  TestImage image(width, height, planes, sampleBytes);
  for (auto& v : image.pixels) {
    seed = seed * 1664525u + 1013904223u;
    v = static_cast<uint16_t>((seed >> 8) % (image.MaxValue() + 1));
  }
  return image;
}

// Runs the kernel over the whole image as one block, in `pieces` row runs.
TestImage Kernel(const TestImage& source, const TestRect& filter, int mode, const ReliefSettings& s,
                 bool transparency, int pieces = 1) {
  const int bytes = source.sampleBytes;
  const std::ptrdiff_t rowBytes = std::ptrdiff_t(source.width) * source.planes * bytes;
  std::vector<uint8_t> in(rowBytes * source.height), out;
  for (std::size_t i = 0; i < source.pixels.size(); ++i) {
    if (bytes == 2) {
      std::memcpy(&in[i * 2], &source.pixels[i], 2);
    } else {
      in[i] = static_cast<uint8_t>(source.pixels[i]);
    }
  }
  out = in;
  ReliefPlan plan;
  EXPECT_TRUE(MakePlan(s, mode, transparency, &plan));
  const PixelBlock whole{0, 0, source.width, source.height, rowBytes, source.planes * bytes};
  // The output block is the filter rectangle, within the same buffer.
  const std::ptrdiff_t offset = filter.top * rowBytes + std::ptrdiff_t(filter.left) * source.planes * bytes;
  const PixelBlock target{filter.left, filter.top, filter.right, filter.bottom, rowBytes, source.planes * bytes};
  for (int part = 0; part < pieces; ++part) {
    int from = 0, to = 0;
    ShareOfRows(filter.top, filter.bottom, pieces, part, &from, &to);
    ReliefRows(plan, in.data(), whole, out.data() + offset, target, from, to);
  }
  TestImage result = source;
  for (std::size_t i = 0; i < result.pixels.size(); ++i) {
    if (bytes == 2) {
      std::memcpy(&result.pixels[i], &out[i * 2], 2);
    } else {
      result.pixels[i] = out[i];
    }
  }
  return result;
}

int Differences(const TestImage& expected, const TestImage& seen, int tolerance, const std::string& what) {
  int count = 0;
  for (std::size_t i = 0; i < expected.pixels.size(); ++i)
    if (std::abs(expected.pixels[i] - seen.pixels[i]) > tolerance && count++ < 5)
      ADD_FAILURE() << what << ": sample " << i << " (x=" << (i / expected.planes) % expected.width
                    << ", y=" << i / expected.planes / expected.width << ", plane " << i % expected.planes
                    << ") expected " << expected.pixels[i] << ", seen " << seen.pixels[i];
  return count;
}

TEST(ReliefPlan, DefaultWeightsAreTodaysSixNeighbours) {
  ReliefPlan plan;
  ASSERT_TRUE(MakePlan(kDefaultSettings, kModeRgb, false, &plan));
  ASSERT_EQ(6, plan.taps);
  int east = 0, south = 0, southEast = 0, west = 0, north = 0, northWest = 0;
  for (int t = 0; t < plan.taps; ++t) {
    const int w = plan.weight[t], dx = plan.dx[t], dy = plan.dy[t];
    if (dx == 1 && dy == 0) east = w;
    if (dx == 0 && dy == 1) south = w;
    if (dx == 1 && dy == 1) southEast = w;
    if (dx == -1 && dy == 0) west = w;
    if (dx == 0 && dy == -1) north = w;
    if (dx == -1 && dy == -1) northWest = w;
  }
  EXPECT_EQ(65536, east);
  EXPECT_EQ(65536, south);
  EXPECT_EQ(65536, southEast);
  EXPECT_EQ(-65536, west);
  EXPECT_EQ(-65536, north);
  EXPECT_EQ(-65536, northWest);
  EXPECT_EQ(128, plan.middle);
  EXPECT_EQ(1, plan.reach);
}

TEST(ReliefPlan, WeightsBalanceAtEveryAngleAndReachTheHeight) {
  for (int angle = kAngleMin; angle <= kAngleMax; ++angle) {
    ReliefPlan plan;
    ASSERT_TRUE(MakePlan(ReliefSettings{angle, 7, 100, ReliefResult::kGrey}, kModeGray16, false, &plan));
    int sum = 0, positive = 0;
    for (int t = 0; t < plan.taps; ++t) {
      sum += plan.weight[t];
      if (plan.weight[t] > 0) positive += plan.weight[t];
      EXPECT_TRUE(std::abs(plan.dx[t]) == 7 || plan.dx[t] == 0) << "angle " << angle;
      EXPECT_TRUE(std::abs(plan.dy[t]) == 7 || plan.dy[t] == 0) << "angle " << angle;
    }
    EXPECT_EQ(0, sum) << "a flat area stays at the middle, angle " << angle;
    EXPECT_NEAR(3 * 65536, positive, 2) << "angle " << angle;
    EXPECT_EQ(16384, plan.middle);
  }
  ReliefPlan plan;
  EXPECT_FALSE(MakePlan(ReliefSettings{181, 1, 100, ReliefResult::kGrey}, kModeRgb, false, &plan));
  EXPECT_FALSE(MakePlan(ReliefSettings{0, 1, 501, ReliefResult::kGrey}, kModeRgb, false, &plan));
  EXPECT_FALSE(MakePlan(kDefaultSettings, kModeIndexed, false, &plan));
}

TEST(ReliefRows, EveryModeDepthAndSettingAgainstTheReference) {
  const ReliefSettings settings[] = {kDefaultSettings,
                                     {0, 1, 100, ReliefResult::kGrey},
                                     {90, 2, 100, ReliefResult::kColours},
                                     {-135, 4, 175, ReliefResult::kGrey},
                                     {17, 3, 33, ReliefResult::kColours},
                                     {-180, 10, 500, ReliefResult::kGrey},
                                     {73, 1, 1, ReliefResult::kColours}};
  uint32_t seed = 1;
  for (const modes::Mode& m : modes::kSupported)
    for (const ReliefSettings& s : settings) {
      // Wider than a summing segment, with the rectangle off the edges on some sides.
      const TestImage image = Noise(300, 23, m.planes, m.sampleBytes, seed++);
      const TestRect filter{0, 5, 20, 300};
      const std::string what = "mode " + std::to_string(m.mode) + ", angle " + std::to_string(s.angle) +
                               ", height " + std::to_string(s.height) + ", amount " + std::to_string(s.amount) +
                               (s.result == ReliefResult::kColours ? ", colours" : ", grey");
      const int exactness = s == kDefaultSettings || (s.angle % 45 == 0 && s.amount % 25 == 0) ? 0 : 1;
      EXPECT_EQ(0, Differences(ReliefReference(image, filter, m.mode, s), Kernel(image, filter, m.mode, s, false),
                               exactness, what));
    }
}

// 16-bit samples at unit weights go eight at a time through halves and
// parities of the three-sample sums: every odd/even mix and both ends of the
// range (0, 32768) must still give exactly the truncated half of the sum.
TEST(ReliefRows, SixteenBitUnitWeightsExactAtTheEndsOfTheRange) {
  const uint16_t values[] = {0, 1, 2, 3, 16383, 16384, 16385, 32766, 32767, 32768};
  const ReliefSettings settings[] = {kDefaultSettings,
                                     {135, 1, 100, ReliefResult::kColours},
                                     {0, 2, 100, ReliefResult::kGrey},
                                     {-90, 1, 100, ReliefResult::kColours}};
  uint32_t seed = 7;
  for (const ReliefSettings& s : settings)
    for (int mode : {kModeRgb48, kModeGray16}) {
      const int planes = mode == kModeRgb48 ? 3 : 1;
      TestImage image(97, 9, planes, 2);
      for (auto& v : image.pixels) {
        seed = seed * 1664525u + 1013904223u;
        v = values[(seed >> 8) % 10];
      }
      const TestRect whole{0, 0, 9, 97};
      EXPECT_EQ(0, Differences(ReliefReference(image, whole, mode, s), Kernel(image, whole, mode, s, false), 0,
                               "mode " + std::to_string(mode) + ", angle " + std::to_string(s.angle)));
    }
}

TEST(ReliefRows, LabKeepsOrNeutralisesColourAndCmykReliefsEveryInk) {
  TestImage lab(12, 12, 3, 1);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      lab.At(x, y, 0) = static_cast<uint16_t>(x < 6 ? 50 : 200);
      lab.At(x, y, 1) = 90;
      lab.At(x, y, 2) = static_cast<uint16_t>(y < 6 ? 170 : 20);
    }
  const TestRect all{0, 0, 12, 12};
  const TestImage grey = Kernel(lab, all, kModeLab, kDefaultSettings, false);
  const TestImage over = Kernel(lab, all, kModeLab, ReliefSettings{135, 1, 100, ReliefResult::kColours}, false);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(128, grey.At(x, y, 1));
      EXPECT_EQ(128, grey.At(x, y, 2)) << "grey relief: a and b neutral";
      EXPECT_EQ(lab.At(x, y, 1), over.At(x, y, 1));
      EXPECT_EQ(lab.At(x, y, 2), over.At(x, y, 2)) << "over the colours: a and b as they were";
    }
  EXPECT_GT(grey.At(6, 3, 0), 128) << "lightness rising away from the light is lit";
  EXPECT_EQ(128, grey.At(2, 3, 0));

  // CMYK as hosts hand it over: the highest value is no ink. An area of less
  // ink (lighter) to the lower right of more ink gets less ink on its lit edge.
  TestImage cmyk(8, 8, 4, 1);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      for (int p = 0; p < 4; ++p) cmyk.At(x, y, p) = static_cast<uint16_t>(x < 4 ? 40 : 240);
  const TestImage inked = Kernel(cmyk, TestRect{0, 0, 8, 8}, kModeCmyk, kDefaultSettings, false);
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(255, inked.At(4, 4, p)) << "lit edge: no ink, plane " << p;
    EXPECT_EQ(128, inked.At(1, 4, p)) << "flat: half ink, plane " << p;
  }
}

TEST(ReliefRows, TransparentNeighboursCountByTheirOpacity) {
  uint32_t seed = 77;
  for (const modes::Mode& m : modes::kSupported) {
    TestImage image = Noise(280, 17, m.planes + 1, m.sampleBytes, seed++);
    // Some rows opaque throughout (the fast path), some with holes.
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 280; ++x) {
        uint16_t& a = image.At(x, y, m.planes);
        if (y % 5 == 0 || (x / 9) % 4 == 0) a = static_cast<uint16_t>(image.MaxValue());
        else if ((x / 9) % 4 == 1) a = 0;
      }
    const TestRect filter{0, 0, 17, 280};
    const std::string what = "mode " + std::to_string(m.mode);
    for (const ReliefSettings& s : {kDefaultSettings, ReliefSettings{-30, 2, 120, ReliefResult::kColours}})
      EXPECT_EQ(0, Differences(ReliefReference(image, filter, m.mode, s, true), Kernel(image, filter, m.mode, s, true),
                               1, what));
  }
}

TEST(ReliefRows, AnySplitOfTheRowsGivesTheSameImage) {
  const TestImage image = Noise(700, 90, 3, 1, 5);
  const TestRect filter{3, 1, 88, 699};
  const ReliefSettings s{50, 3, 140, ReliefResult::kColours};
  const TestImage one = Kernel(image, filter, kModeRgb, s, false, 1);
  for (int pieces : {2, 3, 7, 85})
    EXPECT_EQ(0, Differences(one, Kernel(image, filter, kModeRgb, s, false, pieces), 0,
                             std::to_string(pieces) + " pieces"));
}

TEST(ParallelRows, SmallBandsStayOnOneThreadLargeOnesUseEveryCore) {
  EXPECT_EQ(1, ThreadsFor(100, 100, 8)) << "10,000 pixels";
  EXPECT_EQ(1, ThreadsFor(1000, 1000, 1)) << "one core";
  EXPECT_EQ(8, ThreadsFor(1000, 1000, 8));
  EXPECT_EQ(kMaxThreads, ThreadsFor(1000, 1000, 256));
  EXPECT_EQ(3, ThreadsFor(3, 1000000, 8)) << "never more threads than rows";
  EXPECT_EQ(1, ThreadsFor(1, 1000000, 8));
  std::vector<int> covered(50, 0);
  for (int part = 0; part < 7; ++part) {
    int from = 0, to = 0;
    ShareOfRows(10, 60, 7, part, &from, &to);
    EXPECT_GE(to - from, 7);
    EXPECT_LE(to - from, 8);
    for (int y = from; y < to; ++y) ++covered[y - 10];
  }
  for (int y = 0; y < 50; ++y) EXPECT_EQ(1, covered[y]) << "row " << 10 + y;
}

// A 16-bit band handed over at an odd address or with odd row steps cannot
// be read as 16-bit samples: refused, not read crooked.
TEST(ReliefFilter, SixteenBitBuffersMustBeAligned) {
  HostImage image;
  image.imageMode = kModeRgb48;
  image.width = image.height = 4;
  image.planes = 3;
  image.filter = Area{0, 0, 4, 4};
  BandRequest next;
  ASSERT_EQ(kResultOk, StartFilter(image, kDefaultSettings, &next));
  std::vector<uint16_t> in(64, 1000), out(64, 0);
  HandedBand band{in.data(), next.in, 4 * 3 * 2, 3, out.data(), next.out, 4 * 3 * 2, 3};
  band.in = reinterpret_cast<uint8_t*>(in.data()) + 1;
  EXPECT_EQ(kResultBadParameters, ContinueFilter(image, band, kDefaultSettings, RunRowsHere, &next))
      << "odd input address";
  band.in = in.data();
  band.inRowBytes = 25;
  EXPECT_EQ(kResultBadParameters, ContinueFilter(image, band, kDefaultSettings, RunRowsHere, &next))
      << "odd row step";
  band.inRowBytes = 24;
  EXPECT_EQ(kResultOk, ContinueFilter(image, band, kDefaultSettings, RunRowsHere, &next));
  EXPECT_EQ(16384, out[0]) << "a flat 16-bit area turns mid-grey";
}

}  // namespace
