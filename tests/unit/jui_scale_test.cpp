// The display scale's rules and the packed pictures: lengths at a scale,
// which set serves a scale, the inflater (against zlib's own compressor
// where the host has it), the packed form's enlargement and the reducing
// filter.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "jui/Inflate.h"
#include "jui/PackedPicture.h"
#include "jui/Resample.h"
#include "jui/ScaleRules.h"

#if __has_include(<zlib.h>)
#include <zlib.h>
#define HAVE_ZLIB 1
#endif

namespace {

TEST(ScaleRules, LengthsRoundToTheNearestPixelAndComeBack) {
  EXPECT_EQ(600, ScaledLength(600, 96));
  EXPECT_EQ(600, ScaledLength(600, 0)) << "no scale known: the design's pixels";
  EXPECT_EQ(1200, ScaledLength(600, 192));
  EXPECT_EQ(29, ScaledLength(19, 144)) << "28.5 rounds up";
  EXPECT_EQ(-29, ScaledLength(-19, 144)) << "halves away from zero";
  EXPECT_EQ(16, ScaledLength(13, 120)) << "16.25";
  // Every design length survives a scale and back, at every scale from 100 %.
  for (int dpi = 96; dpi <= 480; ++dpi)
    for (int length = 0; length <= 1000; ++length)
      ASSERT_EQ(length, DesignLength(ScaledLength(length, dpi), dpi)) << length << " at " << dpi;
}

TEST(ScaleRules, EachScaleIsServedByItsOwnSetOrTheNearestLargerOne) {
  EXPECT_EQ(96, PictureSetFor(96));
  EXPECT_EQ(96, PictureSetFor(0));
  EXPECT_EQ(144, PictureSetFor(120));
  EXPECT_EQ(144, PictureSetFor(144));
  EXPECT_EQ(192, PictureSetFor(168));
  EXPECT_EQ(288, PictureSetFor(240));
  EXPECT_EQ(288, PictureSetFor(480)) << "beyond the largest: the largest";
  EXPECT_EQ(222u, PictureSetResourceId(222, 96));
  EXPECT_EQ(19422u, PictureSetResourceId(222, 192));
}

TEST(ScaleRules, AStripScalesFrameByFrame) {
  int w = 0, h = 0;
  ScaledPictureSize(52, 13, 144, &w, &h);
  EXPECT_EQ(20, h);
  EXPECT_EQ(80, w) << "four 20-pixel frames, not 78";
  ScaledPictureSize(58, 19, 144, &w, &h);
  EXPECT_EQ(87, w);
  EXPECT_EQ(29, h);
  ScaledPictureSize(600, 298, 120, &w, &h);
  EXPECT_EQ(750, w);
  EXPECT_EQ(373, h);
}

// A zlib stream of one stored block, as any compressor may write.
std::vector<std::uint8_t> StoredStream(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out = {0x78, 0x01, 0x01, static_cast<std::uint8_t>(data.size()),
                                   static_cast<std::uint8_t>(data.size() >> 8),
                                   static_cast<std::uint8_t>(~data.size()),
                                   static_cast<std::uint8_t>(~data.size() >> 8)};
  out.insert(out.end(), data.begin(), data.end());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  const std::uint32_t adler = (b << 16) | a;
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
  return out;
}

TEST(Inflate, RefusesWhatIsTruncatedCorruptOrTooLarge) {
  const std::vector<std::uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::vector<std::uint8_t> stream = StoredStream(data);
  std::uint8_t out[16];
  std::size_t written = 0;
  ASSERT_TRUE(InflateZlib(stream.data(), stream.size(), out, sizeof out, &written));
  EXPECT_EQ(data, std::vector<std::uint8_t>(out, out + written));
  EXPECT_FALSE(InflateZlib(stream.data(), stream.size(), out, 8, &written)) << "one byte too many for the buffer";
  EXPECT_FALSE(InflateZlib(stream.data(), stream.size() - 1, out, sizeof out, &written)) << "checksum cut short";
  std::vector<std::uint8_t> flipped = stream;
  flipped[9] ^= 0x10;
  EXPECT_FALSE(InflateZlib(flipped.data(), flipped.size(), out, sizeof out, &written)) << "checksum mismatch";
  std::vector<std::uint8_t> reserved = stream;
  reserved[2] = 0x07;  // final block of the reserved type 3
  EXPECT_FALSE(InflateZlib(reserved.data(), reserved.size(), out, sizeof out, &written));
}

#ifdef HAVE_ZLIB
TEST(Inflate, UnpacksWhatZlibPacksAtEveryLevel) {
  // Runs, repeats at every distance and noise: stored, fixed and dynamic blocks.
  std::vector<std::uint8_t> data;
  std::uint32_t seed = 7;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245 + 12345;
    const int kind = (i / 5000) % 3;
    data.push_back(kind == 0 ? static_cast<std::uint8_t>(seed >> 16)
                             : (kind == 1 ? static_cast<std::uint8_t>(i % 251) : static_cast<std::uint8_t>(i / 700)));
  }
  for (int level = 0; level <= 9; ++level) {
    uLongf size = compressBound(data.size());
    std::vector<std::uint8_t> packed(size);
    ASSERT_EQ(Z_OK, compress2(packed.data(), &size, data.data(), data.size(), level));
    std::vector<std::uint8_t> out(data.size());
    std::size_t written = 0;
    ASSERT_TRUE(InflateZlib(packed.data(), size, out.data(), out.size(), &written)) << "level " << level;
    EXPECT_EQ(data.size(), written);
    EXPECT_TRUE(out == data) << "level " << level;
  }
}
#endif

// A packed picture w x h over a base, every residual the same.
std::vector<std::uint8_t> Packed(int w, int h, int step, int baseDpi, int dpi, int bw, int bh, std::int8_t residual) {
  std::vector<std::uint8_t> head = {'J', 'P', 'K', '1', static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8),
                                    static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h >> 8),
                                    static_cast<std::uint8_t>(step), 0,
                                    static_cast<std::uint8_t>(baseDpi), static_cast<std::uint8_t>(baseDpi >> 8),
                                    static_cast<std::uint8_t>(dpi), static_cast<std::uint8_t>(dpi >> 8),
                                    static_cast<std::uint8_t>(bw), 0, static_cast<std::uint8_t>(bh), 0};
  const std::vector<std::uint8_t> body = StoredStream(
      std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3, static_cast<std::uint8_t>(residual)));
  head.insert(head.end(), body.begin(), body.end());
  return head;
}

TEST(PackedPicture, AFlatBaseEnlargesFlatAndTheResidualsAddInSteps) {
  const int bw = 5, bh = 3;
  std::vector<std::uint8_t> base(bw * bh * 3, 100);
  const std::vector<std::uint8_t> up = Packed(10, 6, 7, 96, 192, bw, bh, 2);
  PackedPictureInfo info;
  ASSERT_TRUE(ReadPackedPictureHeader(up.data(), up.size(), &info));
  std::vector<std::uint8_t> out(10 * 6 * 3), scratch(PackedPictureScratch(info));
  ASSERT_TRUE(DecodePackedPicture(up.data(), up.size(), base.data(), bw * 3, out.data(), 30, scratch.data(),
                                  scratch.size()));
  for (std::uint8_t v : out) ASSERT_EQ(114, v) << "100 plus 2 steps of 7";

  // Clamped at the top: how see-through white is reached exactly.
  const std::vector<std::uint8_t> white = Packed(10, 6, 7, 96, 192, bw, bh, 127);
  ASSERT_TRUE(DecodePackedPicture(white.data(), white.size(), base.data(), bw * 3, out.data(), 30, scratch.data(),
                                  scratch.size()));
  for (std::uint8_t v : out) ASSERT_EQ(255, v);

  // Too small a scratch or picture buffer, or a base of the wrong size, decodes nothing.
  EXPECT_FALSE(DecodePackedPicture(up.data(), up.size(), base.data(), bw * 3, out.data(), 29, scratch.data(),
                                   scratch.size()));
  EXPECT_FALSE(DecodePackedPicture(up.data(), up.size(), base.data(), bw * 3, out.data(), 30, scratch.data(),
                                   scratch.size() - 1));
  EXPECT_FALSE(DecodePackedPicture(up.data(), up.size() - 3, base.data(), bw * 3, out.data(), 30, scratch.data(),
                                   scratch.size()));
}

TEST(PackedPicture, RefusesScalesWhoseWeightsWouldOverflow) {
  PackedPictureInfo info;
  const std::vector<std::uint8_t> fine = Packed(10, 6, 7, 144, 288, 5, 3, 0);
  EXPECT_TRUE(ReadPackedPictureHeader(fine.data(), fine.size(), &info));
  // 97 and 960 share no factor: phases in 1920ths, weights over 2 * 1920^3.
  const std::vector<std::uint8_t> odd = Packed(10, 6, 7, 97, 960, 5, 3, 0);
  EXPECT_FALSE(ReadPackedPictureHeader(odd.data(), odd.size(), &info));
}

TEST(PackedPicture, TheEnlargementKeepsAnEdgeWhereItWasWithoutSpillingPastTheRange) {
  // A 4 x 1 base: black, black, white, white; enlarged to 150 %.
  const std::uint8_t base[] = {0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255};
  std::uint8_t out[6 * 3];
  std::vector<long long> rows(EnlargeScratch(6));
  EnlargePicture(base, sizeof base, 4, 1, 96, out, sizeof out, 6, 1, 144, rows.data());
  EXPECT_EQ(0, out[0]);
  EXPECT_EQ(0, out[3]) << "the centres of the first pixels stay in the black";
  EXPECT_EQ(255, out[5 * 3]);
  for (int x = 0; x + 1 < 6; ++x) EXPECT_LE(out[x * 3], out[(x + 1) * 3]) << "rising across the edge";
}

TEST(Resample, ReducesFlatToFlatAndKeepsSeeThroughApart) {
  // 12 x 12: a flat grey square in the middle of see-through white.
  std::vector<std::uint8_t> src(12 * 12 * 3, 255);
  for (int y = 3; y < 9; ++y)
    for (int x = 3; x < 9; ++x)
      for (int c = 0; c < 3; ++c) src[(y * 12 + x) * 3 + c] = 90;
  std::vector<std::uint8_t> dst(10 * 10 * 3);
  std::vector<float> scratch(ResampleScratch(12, 10));
  ASSERT_TRUE(ResamplePicture(src.data(), 36, 12, 12, dst.data(), 30, 10, 10, true, scratch.data(), scratch.size()));
  int clear = 0;
  for (int i = 0; i < 100; ++i) {
    const std::uint8_t* p = &dst[i * 3];
    if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
      ++clear;
      continue;
    }
    EXPECT_EQ(90, p[0]) << "an opaque pixel mixes no white in, at " << i % 10 << ", " << i / 10;
  }
  EXPECT_EQ(255, dst[0]) << "a corner far from the square stays see-through";
  EXPECT_GT(clear, 40);
  EXPECT_LT(clear, 80);
  EXPECT_FALSE(ResamplePicture(src.data(), 36, 12, 12, dst.data(), 30, 10, 10, true, scratch.data(), scratch.size() - 1));
}

}  // namespace
