#include "ImageProxy.h"

#include <cstring>

#include "ImageModes.h"
#include "ReliefKernel.h"

namespace relief {

namespace {

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

Fetch FetchProxy(const HostImage& image, const Sampler& sampler, int boxWidth, int boxHeight, ImageProxy* proxy) {
  *proxy = ImageProxy{};
  const ModeInfo mode = DescribeMode(image.imageMode);
  if (!sampler.Offered() || mode.colourPlanes == 0) return Fetch::kNone;
  const Area f = image.filter;
  const int width = f.right - f.left, height = f.bottom - f.top;
  if (width <= 0 || height <= 0 || f.left < 0 || f.top < 0 || f.right > image.width || f.bottom > image.height)
    return Fetch::kNone;
  const int rate = ProxyRate(width, height, boxWidth, boxHeight);
  // The rectangle in sampled coordinates: the host reads image pixels
  // rect * rate, so the bottom and right are rounded down to stay within
  // the image; a rectangle narrower than the rate keeps one pixel.
  Area scaled{f.top / rate, f.left / rate, f.bottom / rate, f.right / rate};
  if (scaled.bottom <= scaled.top) scaled.bottom = scaled.top + 1;
  if (scaled.right <= scaled.left) scaled.right = scaled.left + 1;
  const int planes = mode.colourPlanes + (image.transparency ? 1 : 0);
  const void* data = nullptr;
  std::ptrdiff_t rowBytes = 0;
  if (!sampler.sample(sampler.context, scaled, planes, rate, &data, &rowBytes)) return Fetch::kNone;
  const int w = scaled.right - scaled.left, h = scaled.bottom - scaled.top;
  const std::size_t rowUsed = std::size_t(w) * planes * mode.sampleBytes;
  if (!data || rowBytes < 0 || std::size_t(rowBytes) < rowUsed) return Fetch::kNone;
  if (!proxy->samples.Assign(rowUsed * h)) return Fetch::kNoMemory;
  proxy->width = w;
  proxy->height = h;
  proxy->rate = rate;
  proxy->imageMode = image.imageMode;
  proxy->planes = planes;
  proxy->transparency = image.transparency;
  for (int y = 0; y < h; ++y)
    std::memcpy(&proxy->samples[rowUsed * y], static_cast<const uint8_t*>(data) + std::size_t(rowBytes) * y, rowUsed);
  return Fetch::kFetched;
}

ReliefSettings AtProxyScale(const ReliefSettings& settings, int rate) {
  ReliefSettings s = settings;
  if (!SettingsAreValid(settings)) return s;  // refused as it is
  if (rate > 1) s.height = (settings.height + rate / 2) / rate;
  if (s.height < kHeightMin) s.height = kHeightMin;
  return s;
}

bool ProxyToRgb(const ImageProxy& p, Bytes* out) {
  const ModeInfo mode = DescribeMode(p.imageMode);
  out->Clear();
  if (mode.colourPlanes == 0 || p.samples.size() < std::size_t(p.width) * p.height * p.planes * mode.sampleBytes)
    return false;
  if (!out->Assign(std::size_t(p.width) * p.height * 3)) return false;
  uint8_t* rgb = out->data();
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
  return true;
}

bool RenderProxy(const ImageProxy& proxy, const ReliefSettings& settings, Bytes* rgb) {
  ReliefPlan plan;
  rgb->Clear();
  const ModeInfo mode = DescribeMode(proxy.imageMode);
  if (proxy.width <= 0 || proxy.height <= 0 ||
      !MakePlan(AtProxyScale(settings, proxy.rate), proxy.imageMode, proxy.transparency, &plan))
    return false;
  const std::size_t used = std::size_t(proxy.width) * proxy.height * proxy.planes * mode.sampleBytes;
  if (proxy.samples.size() < used) return false;
  ImageProxy relieved;
  if (!relieved.samples.Assign(proxy.samples.data(), proxy.samples.size())) return false;
  relieved.width = proxy.width;
  relieved.height = proxy.height;
  relieved.rate = proxy.rate;
  relieved.imageMode = proxy.imageMode;
  relieved.planes = proxy.planes;
  relieved.transparency = proxy.transparency;
  const PixelBlock block{0, 0, proxy.width, proxy.height,
                         std::ptrdiff_t(proxy.width) * proxy.planes * mode.sampleBytes, proxy.planes * mode.sampleBytes};
  ReliefRows(plan, proxy.samples.data(), block, relieved.samples.data(), block, 0, proxy.height);
  return ProxyToRgb(relieved, rgb);
}

}  // namespace relief
