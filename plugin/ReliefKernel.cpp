#include "ReliefKernel.h"

namespace relief {

uint8_t ReliefValue(int west, int north, int northWest, int east, int south, int southEast) {
  const int value = 128 + ((east + south + southEast) - (west + north + northWest)) / 2;
  return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

namespace {

int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

}  // namespace

void ReliefBlock(const uint8_t* in, const PixelBlock& inBlock, uint8_t* out, const PixelBlock& outBlock,
                 int channels) {
  if (inBlock.right <= inBlock.left || inBlock.bottom <= inBlock.top) return;
  const int lastX = inBlock.right - 1;
  const int lastY = inBlock.bottom - 1;
  auto sample = [&](int x, int y, int c) -> int {
    const std::ptrdiff_t row = Clamp(y, inBlock.top, lastY) - inBlock.top;
    const std::ptrdiff_t col = Clamp(x, inBlock.left, lastX) - inBlock.left;
    return in[row * inBlock.rowBytes + col * inBlock.pixelBytes + c];
  };
  for (int y = outBlock.top; y < outBlock.bottom; ++y) {
    uint8_t* target = out + (y - outBlock.top) * outBlock.rowBytes;
    for (int x = outBlock.left; x < outBlock.right; ++x, target += outBlock.pixelBytes) {
      for (int c = 0; c < channels; ++c) {
        target[c] = ReliefValue(sample(x - 1, y, c), sample(x, y - 1, c), sample(x - 1, y - 1, c),
                                sample(x + 1, y, c), sample(x, y + 1, c), sample(x + 1, y + 1, c));
      }
    }
  }
}

}  // namespace relief
