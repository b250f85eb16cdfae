#include "FilterBands.h"

#include "ImageModes.h"

namespace relief {

int ColourPlanes(int imageMode) { return DescribeMode(imageMode).colourPlanes; }

int BandRows(int width, int pixelBytes, int32_t maxSpace, int reach) {
  int32_t budget = kBandBudget;
  if (maxSpace > 0 && maxSpace / 2 < budget) budget = maxSpace / 2;
  const int32_t rowBytes = static_cast<int32_t>(width + 2 * reach) * (pixelBytes > 0 ? pixelBytes : 1);
  const int32_t rows = rowBytes > 0 ? budget / rowBytes : 1;
  return rows < 1 ? 1 : static_cast<int>(rows);
}

bool GeometryIsSound(const Area& filter, int width, int height, int planes, int channels) {
  if (width <= 0 || height <= 0 || channels <= 0 || planes < channels) return false;
  if (filter.left < 0 || filter.top < 0 || filter.right > width || filter.bottom > height) return false;
  return filter.left <= filter.right && filter.top <= filter.bottom;
}

bool PlanBand(const Area& filter, int width, int height, int firstRow, int rows, Area* in, Area* out, int reach) {
  if (firstRow < filter.top || firstRow >= filter.bottom || IsEmpty(filter) || rows < 1 || reach < 0) return false;
  Area band{firstRow, filter.left, filter.bottom - firstRow > rows ? firstRow + rows : filter.bottom, filter.right};
  *out = band;
  in->top = band.top > reach ? band.top - reach : 0;
  in->left = band.left > reach ? band.left - reach : 0;
  in->bottom = band.bottom < height - reach ? band.bottom + reach : height;
  in->right = band.right < width - reach ? band.right + reach : width;
  return true;
}

}  // namespace relief
