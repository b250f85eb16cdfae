#include "ImageProxy.h"

#include <cstring>

#include "ImageModes.h"
#include "ReliefKernel.h"

namespace relief {

namespace {

constexpr int32_t kRateOne = 0x10000;  // inputRate is 16.16 fixed point
using AdvanceStateProc = int16_t (*)();

// The fields FetchProxy changes, to put them back as they were.
struct SavedRequest {
  HostRect inRect, outRect, maskRect;
  int16_t inLoPlane, inHiPlane, outLoPlane, outHiPlane;
  int32_t inputRate;

  explicit SavedRequest(const FilterRecordView* r)
      : inRect(r->inRect), outRect(r->outRect), maskRect(r->maskRect), inLoPlane(r->inLoPlane),
        inHiPlane(r->inHiPlane), outLoPlane(r->outLoPlane), outHiPlane(r->outHiPlane), inputRate(r->inputRate) {}
  void PutBack(FilterRecordView* r) const {
    r->inRect = inRect;
    r->outRect = outRect;
    r->maskRect = maskRect;
    r->inLoPlane = inLoPlane;
    r->inHiPlane = inHiPlane;
    r->outLoPlane = outLoPlane;
    r->outHiPlane = outHiPlane;
    r->inputRate = inputRate;
  }
};

int Sample(const ImageProxy& p, std::size_t index, int maxValue) {
  if (maxValue == 255) return p.samples[index];
  uint16_t v = 0;
  std::memcpy(&v, &p.samples[index * 2], 2);
  return (int(v > 32768 ? 32768 : v) * 255 + 16384) / 32768;
}

}  // namespace

int ProxyRate(int width, int height, int boxWidth, int boxHeight) {
  if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return 1;
  const int across = (width + boxWidth - 1) / boxWidth;
  const int down = (height + boxHeight - 1) / boxHeight;
  return across > down ? across : down;
}

bool ProxyOffered(const FilterRecordView* record) {
  return record && record->advanceState && record->samplingSupport > 0;
}

bool FetchProxy(FilterRecordView* r, int boxWidth, int boxHeight, ImageProxy* proxy) {
  *proxy = ImageProxy{};
  const ModeInfo mode = DescribeMode(r ? r->imageMode : 0);
  if (!ProxyOffered(r) || mode.colourPlanes == 0) return false;
  const HostRect f = r->filterRect;
  const int width = f.right - f.left, height = f.bottom - f.top;
  if (width <= 0 || height <= 0 || f.left < 0 || f.top < 0 || f.right > r->imageSize.h || f.bottom > r->imageSize.v)
    return false;
  const int rate = ProxyRate(width, height, boxWidth, boxHeight);
  // The rectangle in sampled coordinates: the host reads image pixels
  // inRect * rate, so the bottom and right are rounded down to stay within
  // the image; a rectangle narrower than the rate keeps one pixel.
  HostRect scaled{int16_t(f.top / rate), int16_t(f.left / rate), int16_t(f.bottom / rate), int16_t(f.right / rate)};
  if (scaled.bottom <= scaled.top) scaled.bottom = int16_t(scaled.top + 1);
  if (scaled.right <= scaled.left) scaled.right = int16_t(scaled.left + 1);
  const bool transparency = r->planes > mode.colourPlanes;
  const int planes = mode.colourPlanes + (transparency ? 1 : 0);

  const SavedRequest saved(r);
  r->inRect = scaled;
  r->inLoPlane = 0;
  r->inHiPlane = int16_t(planes - 1);
  r->outRect = HostRect{0, 0, 0, 0};
  r->maskRect = HostRect{0, 0, 0, 0};
  r->inputRate = rate * kRateOne;
  const int16_t answer = reinterpret_cast<AdvanceStateProc>(r->advanceState)();
  const int w = scaled.right - scaled.left, h = scaled.bottom - scaled.top;
  const std::size_t rowUsed = std::size_t(w) * planes * mode.sampleBytes;
  const bool sound = answer == 0 && r->inData && r->inRowBytes >= 0 && std::size_t(r->inRowBytes) >= rowUsed &&
                     r->inRect.top == scaled.top && r->inRect.left == scaled.left &&
                     r->inRect.bottom == scaled.bottom && r->inRect.right == scaled.right;
  if (sound) {
    proxy->width = w;
    proxy->height = h;
    proxy->rate = rate;
    proxy->imageMode = r->imageMode;
    proxy->planes = planes;
    proxy->transparency = transparency;
    proxy->samples.resize(rowUsed * h);
    for (int y = 0; y < h; ++y)
      std::memcpy(&proxy->samples[rowUsed * y], static_cast<const uint8_t*>(r->inData) + std::size_t(r->inRowBytes) * y,
                  rowUsed);
  }
  saved.PutBack(r);
  return sound;
}

ReliefSettings AtProxyScale(const ReliefSettings& settings, int rate) {
  ReliefSettings s = settings;
  if (!SettingsAreValid(settings)) return s;  // refused as it is
  if (rate > 1) s.height = (settings.height + rate / 2) / rate;
  if (s.height < kHeightMin) s.height = kHeightMin;
  return s;
}

std::vector<uint8_t> ProxyToRgb(const ImageProxy& p) {
  const ModeInfo mode = DescribeMode(p.imageMode);
  std::vector<uint8_t> rgb(std::size_t(p.width) * p.height * 3);
  if (mode.colourPlanes == 0 || p.samples.size() < std::size_t(p.width) * p.height * p.planes * mode.sampleBytes)
    return {};
  for (std::size_t i = 0; i < std::size_t(p.width) * p.height; ++i) {
    const std::size_t at = i * p.planes;
    int r = 0, g = 0, b = 0;
    if (mode.colourPlanes == 3 && !mode.lab) {
      r = Sample(p, at, mode.maxValue), g = Sample(p, at + 1, mode.maxValue), b = Sample(p, at + 2, mode.maxValue);
    } else if (mode.colourPlanes == 4) {
      // Each plane is the light its ink lets through (the highest value is
      // no ink); black darkens all three.
      const int k = Sample(p, at + 3, mode.maxValue);
      r = Sample(p, at, mode.maxValue) * k / 255;
      g = Sample(p, at + 1, mode.maxValue) * k / 255;
      b = Sample(p, at + 2, mode.maxValue) * k / 255;
    } else {
      r = g = b = Sample(p, at, mode.maxValue);  // grey, or Lab's lightness
    }
    rgb[i * 3] = uint8_t(r);
    rgb[i * 3 + 1] = uint8_t(g);
    rgb[i * 3 + 2] = uint8_t(b);
  }
  return rgb;
}

std::vector<uint8_t> RenderProxy(const ImageProxy& proxy, const ReliefSettings& settings) {
  ReliefPlan plan;
  const ModeInfo mode = DescribeMode(proxy.imageMode);
  if (proxy.width <= 0 || proxy.height <= 0 ||
      !MakePlan(AtProxyScale(settings, proxy.rate), proxy.imageMode, proxy.transparency, &plan))
    return {};
  ImageProxy relieved = proxy;
  const PixelBlock block{0, 0, proxy.width, proxy.height,
                         std::ptrdiff_t(proxy.width) * proxy.planes * mode.sampleBytes, proxy.planes * mode.sampleBytes};
  ReliefRows(plan, proxy.samples.data(), block, relieved.samples.data(), block, 0, proxy.height);
  return ProxyToRgb(relieved);
}

}  // namespace relief
