#pragma once
// The relief effect on blocks of interleaved 8-bit pixels. Each channel of a
// pixel becomes mid-grey (128) plus half the difference between its three
// lower-right neighbours and its three upper-left neighbours:
//   128 + ((E + S + SE) - (W + N + NW)) / 2, truncated, clamped to 0..255.
// Flat areas turn grey; an edge is light where the image brightens towards
// the lower right and dark where it darkens.
#include <cstddef>
#include <cstdint>

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

// One relief value from the six neighbour samples.
uint8_t ReliefValue(int west, int north, int northWest, int east, int south, int southEast);

// Writes the first `channels` bytes of every pixel of `out` from `in`. `in`
// must cover out's rectangle; a neighbour outside `in` is taken from in's
// nearest pixel, so `in` should be out's rectangle grown by one pixel and
// clipped to the image: the image's own border pixels then stand in for the
// pixels beyond it. Other bytes of `out` are left as they are.
void ReliefBlock(const uint8_t* in, const PixelBlock& inBlock, uint8_t* out, const PixelBlock& outBlock,
                 int channels);

}  // namespace relief
