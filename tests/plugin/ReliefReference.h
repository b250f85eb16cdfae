#pragma once
// What the relief filter should make of an image, computed the plain way in
// floating point: the light's direction gives each of the eight neighbours
// `height` pixels away a weight (1 within 45 degrees of the direction away
// from the light, -1 within 45 degrees of the light, linear in between);
// the relief is amount/100 times half the weighted sum, rounded towards
// zero, around the middle value (grey) or the pixel's own value (colours),
// clamped. The image's edge pixels are repeated beyond its border. With
// transparency, each neighbour is blended towards the centre pixel by its
// transparency, and a fully transparent pixel keeps its colour. Lab: only
// lightness is relieved; a and b become neutral (grey) or stay (colours).
// Pixels outside the filter rectangle and planes past the colour planes
// stay as they were.
#include <algorithm>
#include <cmath>

#include "plugin/ReliefSettings.h"
#include "tests/plugin/TestImage.h"
#include "tests/plugin/TestModes.h"

inline TestImage ReliefReference(const TestImage& source, const TestRect& filter, int imageMode,
                                 const relief::ReliefSettings& s = relief::kDefaultSettings,
                                 bool transparency = false) {
  const modes::Mode unsupported{"", -1, 0, 1, false};
  const modes::Mode& mode = modes::Find(imageMode) ? *modes::Find(imageMode) : unsupported;
  const int maxValue = mode.sampleBytes == 2 ? 32768 : 255;
  const double middle = maxValue == 255 ? 128 : maxValue / 2;
  const double pi = std::acos(-1.0);
  const double away = (s.angle + 180) * pi / 180;
  const double ux = std::cos(away), uy = -std::sin(away);  // rows grow downwards
  double weight[3][3] = {};
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      if (!dx && !dy) continue;
      const double cosine = (dx * ux + dy * uy) / std::sqrt(double(dx * dx + dy * dy));
      const double apart = std::acos(std::clamp(cosine, -1.0, 1.0)) * 180 / pi;
      // Rounded to a millionth, so that 45 degrees off is exactly 1, not 0.9999999.
      weight[dy + 1][dx + 1] = std::round(std::clamp((90 - apart) / 45, -1.0, 1.0) * 1e6) / 1e6;
    }
  const int alpha = mode.planes;
  TestImage result = source;
  auto px = [&](int x, int y) {
    x = std::min(std::max(x, 0), source.width - 1);
    y = std::min(std::max(y, 0), source.height - 1);
    return (std::size_t(y) * source.width + x) * source.planes;
  };
  for (int y = filter.top; y < filter.bottom; ++y)
    for (int x = filter.left; x < filter.right; ++x) {
      const std::size_t centre = px(x, y);
      if (transparency && source.pixels[centre + alpha] == 0) continue;
      for (int p = 0; p < mode.planes; ++p) {
        const double own = source.pixels[centre + p];
        if (mode.lab && p > 0) {
          result.At(x, y, p) = static_cast<uint16_t>(s.result == relief::ReliefResult::kGrey ? middle : own);
          continue;
        }
        double sum = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            if (!dx && !dy) continue;
            const std::size_t n = px(x + dx * s.height, y + dy * s.height);
            double v = source.pixels[n + p];
            if (transparency) v = own + (v - own) * std::min<double>(source.pixels[n + alpha], maxValue) / maxValue;
            sum += weight[dy + 1][dx + 1] * v;
          }
        const double base = s.result == relief::ReliefResult::kGrey ? middle : own;
        const double v = base + std::trunc(s.amount / 100.0 * sum / 2);
        result.At(x, y, p) = static_cast<uint16_t>(std::clamp(v, 0.0, double(maxValue)));
      }
    }
  return result;
}
