#include "jui/Resample.h"

#include <cmath>

namespace {

constexpr int kChannels = 3;
constexpr int kLanes = 4;  // blue, green, red weighted by opacity, then opacity

float Cubic(float t) {
  t = t < 0 ? -t : t;
  if (t < 1) return (1.5f * t - 2.5f) * t * t + 1;
  if (t < 2) return ((-0.5f * t + 2.5f) * t - 4) * t + 2;
  return 0;
}

// The source span and normalised weights of destination pixel j.
struct Span {
  int first;
  int count;
  float weight[64];
};

void Weights(int j, int sourceCount, int destinationCount, Span* span) {
  const float ratio = static_cast<float>(sourceCount) / destinationCount;
  const float widen = ratio > 1 ? ratio : 1;
  const float centre = (j + 0.5f) * ratio - 0.5f;
  int first = static_cast<int>(std::ceil(centre - 2 * widen));
  int last = static_cast<int>(std::floor(centre + 2 * widen));
  if (last - first + 1 > 64) last = first + 63;
  float sum = 0;
  span->first = first;
  span->count = last - first + 1;
  for (int i = 0; i < span->count; ++i) {
    span->weight[i] = Cubic((first + i - centre) / widen);
    sum += span->weight[i];
  }
  for (int i = 0; i < span->count; ++i) span->weight[i] /= sum;
}

int Clamp(int i, int count) { return i < 0 ? 0 : (i >= count ? count - 1 : i); }

std::uint8_t Channel(float v) {
  const int n = static_cast<int>(v + 0.5f);
  return static_cast<std::uint8_t>(n < 0 ? 0 : (n > 255 ? 255 : n));
}

}  // namespace

std::size_t ResampleScratch(int sourceHeight, int width) {
  return static_cast<std::size_t>(sourceHeight) * width * kLanes;
}

bool ResamplePicture(const std::uint8_t* src, std::size_t srcStride, int sw, int sh, std::uint8_t* dst,
                     std::size_t dstStride, int dw, int dh, bool seeThrough, float* scratch, std::size_t scratchCount) {
  if (!src || !dst || !scratch || sw < 1 || sh < 1 || dw < 1 || dh < 1) return false;
  if (scratchCount < ResampleScratch(sh, dw) || srcStride < static_cast<std::size_t>(sw) * kChannels ||
      dstStride < static_cast<std::size_t>(dw) * kChannels)
    return false;
  Span span;
  for (int x = 0; x < dw; ++x) {
    Weights(x, sw, dw, &span);
    for (int y = 0; y < sh; ++y) {
      const std::uint8_t* row = src + static_cast<std::size_t>(y) * srcStride;
      float lane[kLanes] = {0, 0, 0, 0};
      for (int i = 0; i < span.count; ++i) {
        const std::uint8_t* p = row + Clamp(span.first + i, sw) * kChannels;
        const bool clear = seeThrough && p[0] == 255 && p[1] == 255 && p[2] == 255;
        if (clear) continue;
        const float w = span.weight[i];
        lane[0] += w * p[0];
        lane[1] += w * p[1];
        lane[2] += w * p[2];
        lane[3] += w;
      }
      float* out = scratch + (static_cast<std::size_t>(y) * dw + x) * kLanes;
      for (int k = 0; k < kLanes; ++k) out[k] = lane[k];
    }
  }
  for (int y = 0; y < dh; ++y) {
    Weights(y, sh, dh, &span);
    std::uint8_t* row = dst + static_cast<std::size_t>(y) * dstStride;
    for (int x = 0; x < dw; ++x) {
      float lane[kLanes] = {0, 0, 0, 0};
      for (int i = 0; i < span.count; ++i) {
        const float* in = scratch + (static_cast<std::size_t>(Clamp(span.first + i, sh)) * dw + x) * kLanes;
        for (int k = 0; k < kLanes; ++k) lane[k] += span.weight[i] * in[k];
      }
      std::uint8_t* p = row + x * kChannels;
      if (seeThrough && lane[3] < 0.5f) {
        p[0] = p[1] = p[2] = 255;
        continue;
      }
      const float opacity = seeThrough ? lane[3] : 1.0f;
      for (int c = 0; c < kChannels; ++c) p[c] = Channel(lane[c] / opacity);
      if (seeThrough && p[0] == 255 && p[1] == 255 && p[2] == 255) p[0] = p[1] = p[2] = 254;
    }
  }
  return true;
}
