#include "ImageModes.h"

namespace relief {

ModeInfo DescribeMode(int imageMode) {
  switch (imageMode) {
    case kModeGray:
      return ModeInfo{1, 1, 255, false};
    case kModeRgb:
      return ModeInfo{3, 1, 255, false};
    case kModeCmyk:
      return ModeInfo{4, 1, 255, false};
    case kModeLab:
      return ModeInfo{3, 1, 255, true};
    case kModeGray16:
      return ModeInfo{1, 2, 32768, false};
    case kModeRgb48:
      return ModeInfo{3, 2, 32768, false};
    case kModeCmyk64:
      return ModeInfo{4, 2, 32768, false};
    case kModeLab48:
      return ModeInfo{3, 2, 32768, true};
    default:
      return ModeInfo{0, 0, 0, false};
  }
}

}  // namespace relief
