// The dialog's proxy of the user's image: the rate that fits the preview,
// the request to the host and what is put back after it, and the proxy's
// samples as the preview shows them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin/ImageModes.h"
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

// A host's sampling in memory: 16-bit samples, value = 100 * x + y of the
// image pixel the sampled pixel stands for, plus the plane.
std::vector<uint16_t> handed;
bool hostAnswers = true;
Area askedRect{};
int askedRate = 0, askedPlanes = 0;

bool HostSample(void*, const Area& scaled, int planes, int rate, const void** data, std::ptrdiff_t* rowBytes) {
  askedRect = scaled;
  askedRate = rate;
  askedPlanes = planes;
  if (!hostAnswers) return false;
  const int w = scaled.right - scaled.left, h = scaled.bottom - scaled.top;
  const int row = w * planes + 1;  // one sample of padding
  handed.assign(std::size_t(row) * h, 0xEEEE);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int p = 0; p < planes; ++p)
        handed[y * row + x * planes + p] = uint16_t(100 * (scaled.left + x) * rate + (scaled.top + y) * rate + p);
  *data = handed.data();
  *rowBytes = row * 2;
  return true;
}

HostImage Image(int16_t mode, int planes, Area filter, bool transparency) {
  HostImage image;
  image.width = 250;
  image.height = 300;
  image.planes = planes;
  image.imageMode = mode;
  image.filter = filter;
  image.transparency = transparency;
  return image;
}

TEST(FetchProxy, AsksAtTheRateThatFits) {
  // A selection 200..250 x 20..260 (50 x 240) of a 16-bit RGB image with
  // transparency fits 200 x 150 at rate 2: rows 10..130, columns 100..125.
  const Sampler sampler{HostSample, nullptr};
  hostAnswers = true;
  ImageProxy proxy;
  ASSERT_EQ(Fetch::kFetched, FetchProxy(Image(kModeRgb48, 4, Area{20, 200, 260, 250}, true), sampler, 200, 150, &proxy));
  EXPECT_EQ(2, askedRate);
  EXPECT_EQ(10, askedRect.top);
  EXPECT_EQ(100, askedRect.left);
  EXPECT_EQ(130, askedRect.bottom);
  EXPECT_EQ(125, askedRect.right);
  EXPECT_EQ(4, askedPlanes) << "the colours and the transparency";
  EXPECT_EQ(25, proxy.width);
  EXPECT_EQ(120, proxy.height);
  EXPECT_EQ(2, proxy.rate);
  EXPECT_EQ(4, proxy.planes);
  EXPECT_TRUE(proxy.transparency);
  ASSERT_EQ(std::size_t(25 * 120 * 4 * 2), proxy.samples.size()) << "rows copied without the host's padding";
  uint16_t last = 0;
  std::memcpy(&last, &proxy.samples[proxy.samples.size() - 2], 2);
  EXPECT_EQ(100 * 124 * 2 + 129 * 2 + 3, last);

  hostAnswers = false;
  EXPECT_EQ(Fetch::kNone, FetchProxy(Image(kModeRgb48, 4, Area{20, 200, 260, 250}, true), sampler, 200, 150, &proxy))
      << "the host refuses";
  EXPECT_TRUE(proxy.samples.empty());

  // No sampling offered, an unsupported mode, a selection outside the image.
  hostAnswers = true;
  EXPECT_EQ(Fetch::kNone, FetchProxy(Image(kModeRgb, 3, Area{0, 0, 10, 10}, false), Sampler{}, 200, 150, &proxy));
  EXPECT_EQ(Fetch::kNone, FetchProxy(Image(kModeIndexed, 1, Area{0, 0, 10, 10}, false), sampler, 200, 150, &proxy));
  EXPECT_EQ(Fetch::kNone, FetchProxy(Image(kModeRgb, 3, Area{0, 0, 10, 251}, false), sampler, 200, 150, &proxy));
}

ImageProxy OnePixel(int16_t mode, std::vector<uint8_t> samples, int planes) {
  ImageProxy p;
  p.width = p.height = 1;
  p.imageMode = mode;
  p.planes = planes;
  p.samples.Assign(samples.data(), samples.size());
  return p;
}

std::vector<uint8_t> Seen(const Bytes& b) { return std::vector<uint8_t>(b.data(), b.data() + b.size()); }

std::vector<uint8_t> ProxyToRgb(const ImageProxy& p) {
  Bytes rgb;
  return relief::ProxyToRgb(p, &rgb) ? Seen(rgb) : std::vector<uint8_t>();
}

std::vector<uint8_t> RenderProxy(const ImageProxy& p, const ReliefSettings& s) {
  Bytes rgb;
  return relief::RenderProxy(p, s, &rgb) ? Seen(rgb) : std::vector<uint8_t>();
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
  flat.samples.Assign(36, 90);
  EXPECT_EQ(std::vector<uint8_t>(36, 128), RenderProxy(flat, kDefaultSettings));
  EXPECT_TRUE(RenderProxy(flat, ReliefSettings{0, 0, 100, ReliefResult::kGrey}).empty()) << "height 0 is not valid";
}

}  // namespace
