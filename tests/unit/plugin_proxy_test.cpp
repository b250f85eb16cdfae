// The dialog's proxy of the user's image: the rate that fits the preview,
// the request to the host and what is put back after it, and the proxy's
// samples as the preview shows them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin/FilterRecord.h"
#include "plugin/ImageProxy.h"

using namespace relief;

namespace {

TEST(ProxyRate, SmallestIntegralRateThatFitsTheBox) {
  EXPECT_EQ(1, ProxyRate(200, 150, 200, 150));
  EXPECT_EQ(1, ProxyRate(10, 10, 200, 150));
  EXPECT_EQ(2, ProxyRate(201, 10, 200, 150));
  EXPECT_EQ(3, ProxyRate(600, 300, 200, 150));
  EXPECT_EQ(4, ProxyRate(100, 451, 200, 150)) << "the height decides";
  EXPECT_EQ(1, ProxyRate(0, 5, 200, 150)) << "nothing to reduce";
}

// A host's advanceState in memory: 16-bit samples, value = 100 * x + y of
// the image pixel the sampled pixel stands for, plus the plane.
FilterRecordView* hostRecord = nullptr;
std::vector<uint16_t> handed;
int16_t hostAnswer = 0;
HostRect askedRect{};
int32_t askedRate = 0;
int16_t askedHiPlane = 0;

int16_t HostAdvance() {
  FilterRecordView* r = hostRecord;
  askedRect = r->inRect;
  askedRate = r->inputRate;
  askedHiPlane = r->inHiPlane;
  if (hostAnswer != 0) return hostAnswer;
  const int rate = r->inputRate >> 16, planes = r->inHiPlane - r->inLoPlane + 1;
  const int w = r->inRect.right - r->inRect.left, h = r->inRect.bottom - r->inRect.top;
  const int row = w * planes + 1;  // one sample of padding
  handed.assign(std::size_t(row) * h, 0xEEEE);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int p = 0; p < planes; ++p)
        handed[y * row + x * planes + p] =
            uint16_t(100 * (r->inRect.left + x) * rate + (r->inRect.top + y) * rate + p);
  r->inData = handed.data();
  r->inRowBytes = row * 2;
  return 0;
}

FilterRecordView Record(int16_t mode, int16_t planes, HostRect filter) {
  FilterRecordView r{};
  r.imageSize = HostPoint{300, 250};
  r.planes = planes;
  r.imageMode = mode;
  r.filterRect = filter;
  r.inRect = HostRect{1, 2, 3, 4};
  r.outRect = HostRect{5, 6, 7, 8};
  r.inHiPlane = 1;
  r.outHiPlane = 2;
  r.inputRate = 0x10000;
  r.advanceState = reinterpret_cast<void*>(HostAdvance);
  r.samplingSupport = 1;
  return r;
}

void ExpectPutBack(const FilterRecordView& r) {
  EXPECT_EQ(0x10000, r.inputRate);
  EXPECT_EQ(1, r.inRect.top);
  EXPECT_EQ(4, r.inRect.right);
  EXPECT_EQ(5, r.outRect.top);
  EXPECT_EQ(8, r.outRect.right);
  EXPECT_EQ(1, r.inHiPlane);
  EXPECT_EQ(2, r.outHiPlane);
}

TEST(FetchProxy, AsksAtTheRateThatFitsAndPutsTheRequestBack) {
  // A selection 200..250 x 20..260 (50 x 240) of a 16-bit RGB image with
  // transparency fits 200 x 150 at rate 2: rows 10..130, columns 100..125.
  FilterRecordView r = Record(kModeRgb48, 4, HostRect{20, 200, 260, 250});
  hostRecord = &r;
  hostAnswer = 0;
  ImageProxy proxy;
  ASSERT_TRUE(FetchProxy(&r, 200, 150, &proxy));
  EXPECT_EQ(2 << 16, askedRate);
  EXPECT_EQ(10, askedRect.top);
  EXPECT_EQ(100, askedRect.left);
  EXPECT_EQ(130, askedRect.bottom);
  EXPECT_EQ(125, askedRect.right);
  EXPECT_EQ(3, askedHiPlane) << "the colours and the transparency";
  EXPECT_EQ(25, proxy.width);
  EXPECT_EQ(120, proxy.height);
  EXPECT_EQ(2, proxy.rate);
  EXPECT_EQ(4, proxy.planes);
  EXPECT_TRUE(proxy.transparency);
  ASSERT_EQ(std::size_t(25 * 120 * 4 * 2), proxy.samples.size()) << "rows copied without the host's padding";
  uint16_t last = 0;
  std::memcpy(&last, &proxy.samples[proxy.samples.size() - 2], 2);
  EXPECT_EQ(100 * 124 * 2 + 129 * 2 + 3, last);
  ExpectPutBack(r);

  // The host refuses: nothing, and the request is put back all the same.
  hostAnswer = -108;
  EXPECT_FALSE(FetchProxy(&r, 200, 150, &proxy));
  EXPECT_TRUE(proxy.samples.empty());
  ExpectPutBack(r);

  // No sampling offered, an unsupported mode, a selection outside the image.
  hostAnswer = 0;
  FilterRecordView none = Record(kModeRgb, 3, HostRect{0, 0, 10, 10});
  none.samplingSupport = 0;
  EXPECT_FALSE(FetchProxy(&none, 200, 150, &proxy));
  FilterRecordView indexed = Record(kModeIndexed, 1, HostRect{0, 0, 10, 10});
  EXPECT_FALSE(FetchProxy(&indexed, 200, 150, &proxy));
  FilterRecordView outside = Record(kModeRgb, 3, HostRect{0, 0, 10, 251});
  EXPECT_FALSE(FetchProxy(&outside, 200, 150, &proxy));
}

ImageProxy OnePixel(int16_t mode, std::vector<uint8_t> samples, int planes) {
  ImageProxy p;
  p.width = p.height = 1;
  p.imageMode = mode;
  p.planes = planes;
  p.samples = std::move(samples);
  return p;
}

TEST(ProxyToRgb, EachModeAsThePreviewShowsIt) {
  EXPECT_EQ((std::vector<uint8_t>{10, 20, 30}), ProxyToRgb(OnePixel(kModeRgb, {10, 20, 30}, 3)));
  EXPECT_EQ((std::vector<uint8_t>{77, 77, 77}), ProxyToRgb(OnePixel(kModeGray, {77, 200}, 2))) << "transparency unseen";
  // CMYK: the highest value is no ink; black darkens every colour.
  EXPECT_EQ((std::vector<uint8_t>{255, 0, 255}), ProxyToRgb(OnePixel(kModeCmyk, {255, 0, 255, 255}, 4)));
  EXPECT_EQ((std::vector<uint8_t>{128, 0, 128}), ProxyToRgb(OnePixel(kModeCmyk, {255, 0, 255, 128}, 4)));
  EXPECT_EQ((std::vector<uint8_t>{40, 40, 40}), ProxyToRgb(OnePixel(kModeLab, {40, 0, 255}, 3))) << "the lightness";
  std::vector<uint8_t> deep(6);
  const uint16_t values[3] = {32768, 16384, 0};
  std::memcpy(deep.data(), values, 6);
  EXPECT_EQ((std::vector<uint8_t>{255, 128, 0}), ProxyToRgb(OnePixel(kModeRgb48, deep, 3)));
  EXPECT_TRUE(ProxyToRgb(OnePixel(kModeRgb, {1, 2}, 3)).empty()) << "too few samples";
}

TEST(RenderProxy, ReliefAtTheProxysScale) {
  EXPECT_EQ(1, AtProxyScale(ReliefSettings{0, 1, 100, ReliefResult::kGrey}, 3).height);
  EXPECT_EQ(3, AtProxyScale(ReliefSettings{0, 6, 100, ReliefResult::kGrey}, 2).height);
  EXPECT_EQ(10, AtProxyScale(ReliefSettings{0, 10, 100, ReliefResult::kGrey}, 1).height);
  // A flat proxy turns grey, whatever its mode shows.
  ImageProxy flat;
  flat.width = 4;
  flat.height = 3;
  flat.imageMode = kModeRgb;
  flat.planes = 3;
  flat.samples.assign(36, 90);
  EXPECT_EQ(std::vector<uint8_t>(36, 128), RenderProxy(flat, kDefaultSettings));
  EXPECT_TRUE(RenderProxy(flat, ReliefSettings{0, 0, 100, ReliefResult::kGrey}).empty()) << "height 0 is not valid";
}

}  // namespace
