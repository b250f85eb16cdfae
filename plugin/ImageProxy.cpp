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

bool FetchProxy(const HostImage& image, const Sampler& sampler, int boxWidth, int boxHeight, ImageProxy* proxy) {
  *proxy = ImageProxy{};
  const ModeInfo mode = DescribeMode(image.imageMode);
  if (!sampler.Offered() || mode.colourPlanes == 0) return false;
  const Area f = image.filter;
  const int width = f.right - f.left, height = f.bottom - f.top;
  if (width <= 0 || height <= 0 || f.left < 0 || f.top < 0 || f.right > image.width || f.bottom > image.height)
    return false;
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
  if (!sampler.sample(sampler.context, scaled, planes, rate, &data, &rowBytes)) return false;
  const int w = scaled.right - scaled.left, h = scaled.bottom - scaled.top;
  const std::size_t rowUsed = std::size_t(w) * planes * mode.sampleBytes;
  if (!data || rowBytes < 0 || std::size_t(rowBytes) < rowUsed) return false;
  proxy->width = w;
  proxy->height = h;
  proxy->rate = rate;
  proxy->imageMode = image.imageMode;
  proxy->planes = planes;
  proxy->transparency = image.transparency;
  proxy->samples.resize(rowUsed * h);
  for (int y = 0; y < h; ++y)
    std::memcpy(&proxy->samples[rowUsed * y], static_cast<const uint8_t*>(data) + std::size_t(rowBytes) * y, rowUsed);
  return true;
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
