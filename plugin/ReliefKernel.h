#pragma once
// The relief effect on blocks of interleaved 8- or 16-bit pixels.
//
// The light comes from `angle` (degrees counter-clockwise from the right).
// Each of the eight neighbours `height` pixels away (along the rows, the
// columns or the diagonals) gets a weight from the angle between it and the
// direction away from the light: 1 within 45 degrees of it, -1 within 45
// degrees of the light, linear in between (so the weights always sum to 0
// and the positive ones to 3). A relieved sample is
//   base + trunc(amount/100 * sum(weight * neighbour) / 2)
// clamped to the mode's range, where base is the middle value (grey result)
// or the sample itself (over the colours). Weights are kept in 1/65536 steps
// with the amount folded in; at the default settings the sum is exactly
//   128 + ((E + S + SE) - (W + N + NW)) / 2, truncated,
// the relief the filter has always made: flat areas turn grey, an edge is
// light where the image brightens away from the light.
//
// Neighbours beyond the input block are taken from its nearest pixel (the
// caller grows the input by `height` pixels and clips it to the image, so
// the image's own border pixels stand in for those beyond it). With a
// transparency plane, a neighbour counts in proportion to its opacity and
// stands in for the centre pixel for the rest: a fully transparent
// neighbour reads as the centre itself and raises no edge against nothing.
// The colour of a fully transparent pixel is left as it was, and the
// transparency plane is never written.
#include <cstddef>
#include <cstdint>

#include "ReliefSettings.h"

namespace relief {

// Where a block of pixels lies: its rectangle in image coordinates (right and
// bottom exclusive), the byte step between rows and between pixels.
struct PixelBlock {
  int left;
  int top;
  int right;
  int bottom;
  std::ptrdiff_t rowBytes;
  int pixelBytes;
};

enum class PlaneRole : uint8_t {
  kRelief,   // relieved
  kNeutral,  // set to the middle value (Lab colour, grey result)
  kKeep,     // copied from the input (Lab colour, over the colours)
};

// Everything the rows need, worked out once from the settings and the mode.
struct ReliefPlan {
  int taps = 0;  // neighbours with a weight other than 0
  int dx[8] = {};
  int dy[8] = {};
  int32_t weight[8] = {};
  float halfWeight[8] = {};  // weight / 2^(kWeightBits + 1), for the fast sums
  bool unitWeights = false;  // every weight is +-1 at 100 %: sums of whole samples
  int reach = 1;  // how far the neighbours lie
  int sampleBytes = 1;
  int maxValue = 255;
  int middle = 128;
  int colourPlanes = 0;
  PlaneRole role[4] = {};
  bool overColours = false;
  int alphaPlane = -1;  // input plane holding the transparency, -1 for none
};

// Weight resolution: a weight of 1 at 100 % is 1 << kWeightBits.
constexpr int kWeightBits = 16;

// The plan for the settings on an image of the given mode; false when the
// settings are not valid or the mode is not supported. `transparency` says
// that the plane after the colour planes holds the transparency.
bool MakePlan(const ReliefSettings& settings, int imageMode, bool transparency, ReliefPlan* plan);

// Relieves rows firstRow..lastRow-1 of `out` (which must lie within out's
// block) from `in`, which must cover out's rectangle. Only the colour planes
// of `out` are written. Rows may be done in any order and on any thread.
void ReliefRows(const ReliefPlan& plan, const void* in, const PixelBlock& inBlock, void* out,
                const PixelBlock& outBlock, int firstRow, int lastRow);

// One relief value at the default settings from the six neighbour samples.
uint8_t ReliefValue(int west, int north, int northWest, int east, int south, int southEast);

// The first `channels` planes of every 8-bit pixel of `out` at the default
// settings; other bytes of `out` are left as they are.
void ReliefBlock(const uint8_t* in, const PixelBlock& inBlock, uint8_t* out, const PixelBlock& outBlock,
                 int channels);

}  // namespace relief
