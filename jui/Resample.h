#pragma once
// Scales a picture to another size with a Catmull-Rom cubic that is
// widened by the reduction (as image editors reduce, so that no detail
// aliases), one direction at a time. Pixels are rows from the top, blue,
// green and red bytes each (a 24-bit DIB's order). With seeThrough, pure
// white is the see-through colour: it is left out of its neighbours'
// mixes, a pixel comes out see-through where less than half of what it
// covers was opaque, and an opaque one is never pure white. No system calls.
#include <cstddef>
#include <cstdint>

// Floats of scratch ResamplePicture needs.
std::size_t ResampleScratch(int sourceHeight, int width);

bool ResamplePicture(const std::uint8_t* src, std::size_t srcStride, int sw, int sh, std::uint8_t* dst,
                     std::size_t dstStride, int dw, int dh, bool seeThrough, float* scratch, std::size_t scratchCount);
