#include "FilterBands.h"

#include "FilterRecord.h"

namespace relief {

int ColourPlanes(int imageMode) {
  switch (imageMode) {
    case kModeGray:
      return 1;
    case kModeRgb:
      return 3;
    default:
      return 0;
  }
}

int BandRows(int width, int channels, int32_t maxSpace) {
  int32_t budget = kBandBudget;
  if (maxSpace > 0 && maxSpace / 2 < budget) budget = maxSpace / 2;
  const int32_t rowBytes = static_cast<int32_t>(width + 2) * (channels > 0 ? channels : 1);
  const int32_t rows = rowBytes > 0 ? budget / rowBytes : 1;
  return rows < 1 ? 1 : static_cast<int>(rows);
}

bool GeometryIsSound(const Area& filter, int width, int height, int planes, int channels) {
  if (width <= 0 || height <= 0 || channels <= 0 || planes < channels) return false;
  if (filter.left < 0 || filter.top < 0 || filter.right > width || filter.bottom > height) return false;
  return filter.left <= filter.right && filter.top <= filter.bottom;
}

bool PlanBand(const Area& filter, int width, int height, int firstRow, int rows, Area* in, Area* out) {
  if (firstRow < filter.top || firstRow >= filter.bottom || IsEmpty(filter) || rows < 1) return false;
  Area band{firstRow, filter.left, filter.bottom - firstRow > rows ? firstRow + rows : filter.bottom, filter.right};
  *out = band;
  in->top = band.top > 0 ? band.top - 1 : 0;
  in->left = band.left > 0 ? band.left - 1 : 0;
  in->bottom = band.bottom < height ? band.bottom + 1 : height;
  in->right = band.right < width ? band.right + 1 : width;
  return true;
}

}  // namespace relief
