#pragma once
// How the filter walks the filter rectangle: in bands of whole rows, each
// asked of the host with `reach` extra pixels of input around it (the
// relief's height), so that every pixel sees its real neighbours, also
// across the edge of a selection.
#include <cstdint>

namespace relief {

// A rectangle in image pixels; right and bottom are exclusive.
struct Area {
  int top;
  int left;
  int bottom;
  int right;
};

inline bool IsEmpty(const Area& a) { return a.right <= a.left || a.bottom <= a.top; }

// Colour planes the filter works on in an image mode: 1 for grayscale, 3 for
// RGB and Lab, 4 for CMYK, 0 for every mode the filter does not support.
int ColourPlanes(int imageMode);

// Input bytes the filter keeps in one band at most, whatever the host offers:
// enough for every core to get a good share of a band.
constexpr int32_t kBandBudget = 8 * 1024 * 1024;

// The fewest rows a band has (unless the rectangle has fewer), however
// little memory the host says it has: each band reads `reach` extra rows
// above and below, so thinner bands would read most rows many times over
// and cost a call to the host per row or two.
constexpr int kMinBandRows = 16;

// Rows per band for a filter rectangle `width` pixels wide: as many as fit
// in the host's maxSpace with the input (grown by `reach` pixels on every
// side, the extra rows counted) and the output together, and whose input
// fits in kBandBudget; at least kMinBandRows. maxSpace 0: unknown.
int BandRows(int width, int inPixelBytes, int outPixelBytes, int32_t maxSpace, int reach = 1);

// True when the filter rectangle lies within an image of width x height and
// the host's plane count holds the colour planes.
bool GeometryIsSound(const Area& filter, int width, int height, int planes, int channels);

// The band that starts at row `firstRow`: `out` is rows firstRow.. of the
// filter rectangle, at most `rows` of them; `in` is `out` grown by `reach`
// pixels on every side and clipped to the image, then grown further down or
// up, as far as the image allows, to a full band's rows + 2 * reach: every band's
// input has the same size, so that a host that keeps one input buffer for
// all bands need not make it anew for the first and the last. Returns
// false, leaving both alone, when firstRow is at or past the filter
// rectangle's bottom.
bool PlanBand(const Area& filter, int width, int height, int firstRow, int rows, Area* in, Area* out,
              int reach = 1);

}  // namespace relief
