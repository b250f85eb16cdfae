#include "FilterBands.h"

#include "ImageModes.h"

namespace relief {

int ColourPlanes(int imageMode) { return DescribeMode(imageMode).colourPlanes; }

int BandRows(int width, int inPixelBytes, int outPixelBytes, int32_t maxSpace, int reach) {
  if (reach < 0) reach = 0;
  const int64_t inRow = int64_t(width > 0 ? width : 1) + 2 * reach;
  const int64_t inRowBytes = inRow * (inPixelBytes > 0 ? inPixelBytes : 1);
  const int64_t outRowBytes = int64_t(width > 0 ? width : 1) * (outPixelBytes > 0 ? outPixelBytes : 1);
  int64_t rows = kBandBudget / inRowBytes - 2 * reach;
  if (maxSpace > 0) {
    const int64_t fit = (int64_t(maxSpace) - 2 * reach * inRowBytes) / (inRowBytes + outRowBytes);
    if (fit < rows) rows = fit;
  }
  if (rows < kMinBandRows) rows = kMinBandRows;
  return rows > 32767 ? 32767 : static_cast<int>(rows);
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
  // Every band's input as tall as a full band's, where the image allows:
  // the first and last bands read a few rows more than they need.
  const int full = filter.bottom - filter.top < rows ? filter.bottom - filter.top : rows;
  const int tall = full + 2 * reach;
  if (in->bottom - in->top < tall) in->bottom = in->top + tall < height ? in->top + tall : height;
  if (in->bottom - in->top < tall) in->top = in->bottom - tall > 0 ? in->bottom - tall : 0;
  return true;
}

}  // namespace relief
