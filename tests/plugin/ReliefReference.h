#pragma once
// What the relief filter should make of an image, computed the plain way:
// per channel, half the difference between the three lower-right and the
// three upper-left neighbours (rounded towards zero) around mid-grey, with
// the image's edge pixels repeated beyond its border. Pixels outside the
// filter rectangle and planes past the colour planes stay as they were.
#include <algorithm>
#include <cmath>

#include "tests/plugin/FilterHost.h"

inline TestImage ReliefReference(const TestImage& source, const relief::HostRect& filter, int colourPlanes) {
  TestImage result = source;
  auto px = [&](int x, int y, int p) -> double {
    x = std::min(std::max(x, 0), source.width - 1);
    y = std::min(std::max(y, 0), source.height - 1);
    return source.At(x, y, p);
  };
  for (int y = filter.top; y < filter.bottom; ++y)
    for (int x = filter.left; x < filter.right; ++x)
      for (int p = 0; p < colourPlanes; ++p) {
        const double lit = px(x + 1, y, p) + px(x, y + 1, p) + px(x + 1, y + 1, p);
        const double shaded = px(x - 1, y, p) + px(x, y - 1, p) + px(x - 1, y - 1, p);
        const double v = 128.0 + std::trunc((lit - shaded) / 2.0);
        result.At(x, y, p) = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
      }
  return result;
}
