#pragma once
// The packed form of the pictures drawn for the larger display scales
// (written by scripts/packed_picture.py, which describes it): the
// difference, in multiples of a step, from the same picture of a smaller set
// enlarged by a Catmull-Rom cubic in whole numbers, so that the enlarged
// pixels here are exactly the ones the packer saw. No system calls: the
// caller owns every buffer.
#include <cstddef>
#include <cstdint>

struct PackedPictureInfo {
  int width;
  int height;
  int step;
  int baseDpi;     // set of the picture it is stored over
  int dpi;         // its own set
  int baseWidth;
  int baseHeight;
};

constexpr std::size_t kPackedHeaderSize = 18;

// Reads the header; false when it is not a packed picture of a size we take.
bool ReadPackedPictureHeader(const std::uint8_t* data, std::size_t size, PackedPictureInfo* info);

// Bytes of scratch DecodePackedPicture needs.
std::size_t PackedPictureScratch(const PackedPictureInfo& info);

// Pixels are rows from the top, blue, green and red bytes each (a 24-bit
// DIB's order), rows stride bytes apart. base: the base picture, baseWidth x
// baseHeight. Writes the decoded picture to pixels; false on anything
// malformed or short (the pixels are then not to be used).
bool DecodePackedPicture(const std::uint8_t* data, std::size_t size, const std::uint8_t* base, std::size_t baseStride,
                         std::uint8_t* pixels, std::size_t stride, std::uint8_t* scratch, std::size_t scratchSize);

// The enlargement alone: src (sw x sh at srcDpi) to dst (dw x dh at dstDpi),
// both in the layout above. rows: scratch of EnlargeScratch(dw) 64-bit values.
std::size_t EnlargeScratch(int dw);
void EnlargePicture(const std::uint8_t* src, std::size_t srcStride, int sw, int sh, int srcDpi, std::uint8_t* dst,
                    std::size_t dstStride, int dw, int dh, int dstDpi, long long* rows);
