#pragma once
// What the filter makes of each image mode the host reports: how many colour
// planes it reliefs, how wide a sample is, and the value range.
//   mode        planes  depth  range      relief of
//   grayscale   1       8/16   0..255/32768  the grey
//   RGB         3       8/16   "          each of R, G, B
//   CMYK        4       8/16   "          each ink plane, as hosts hand them
//                                          over: the highest value is no ink
//   Lab         3       8/16   "          lightness; a and b are set neutral
//                                          (grey result) or kept (colours)
// Hosts hand 16-bit samples over as 0..32768, not 0..65535.
#include <cstdint>

namespace relief {

// Image modes as hosts report them.
enum ImageMode : int16_t {
  kModeBitmap = 0,
  kModeGray = 1,
  kModeIndexed = 2,
  kModeRgb = 3,
  kModeCmyk = 4,
  kModeMultichannel = 7,
  kModeLab = 9,
  kModeGray16 = 10,
  kModeRgb48 = 11,
  kModeLab48 = 12,
  kModeCmyk64 = 13,
  kModeDeepMultichannel = 14,
  kModeDuotone16 = 15,
};

struct ModeInfo {
  int colourPlanes;  // 0: the filter does not support the mode
  int sampleBytes;   // 1 or 2
  int maxValue;      // 255 or 32768
  bool lab;          // planes 1 and 2 are colour, not light
};

ModeInfo DescribeMode(int imageMode);

}  // namespace relief
