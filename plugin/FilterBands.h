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

// Rows per band for a filter rectangle `width` pixels wide, of pixelBytes
// each: as many as fit in the smaller of kBandBudget and half of the host's
// maxSpace (input and output both need room), at least one.
int BandRows(int width, int pixelBytes, int32_t maxSpace, int reach = 1);

// True when the filter rectangle lies within an image of width x height and
// the host's plane count holds the colour planes.
bool GeometryIsSound(const Area& filter, int width, int height, int planes, int channels);

// The band that starts at row `firstRow`: `out` is rows firstRow.. of the
// filter rectangle, at most `rows` of them; `in` is `out` grown by `reach`
// pixels on every side and clipped to the image. Returns false, leaving both
// alone, when firstRow is at or past the filter rectangle's bottom.
bool PlanBand(const Area& filter, int width, int height, int firstRow, int rows, Area* in, Area* out,
              int reach = 1);

}  // namespace relief
