#pragma once
// An image in memory for the filter tests: interleaved planes, row after
// row, of 8-bit (values 0..255) or 16-bit samples (0..32768, as hosts hand
// 16-bit images over). No <windows.h>: the native tests use it too.
#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle in image pixels; right and bottom are exclusive.
struct TestRect {
  int top;
  int left;
  int bottom;
  int right;
};

struct TestImage {
  int width = 0;
  int height = 0;
  int planes = 0;
  int sampleBytes = 1;
  std::vector<uint16_t> pixels;

  TestImage(int w, int h, int p, int bytes = 1)
      : width(w), height(h), planes(p), sampleBytes(bytes), pixels(std::size_t(w) * h * p) {}
  uint16_t& At(int x, int y, int p) { return pixels[(std::size_t(y) * width + x) * planes + p]; }
  uint16_t At(int x, int y, int p) const { return pixels[(std::size_t(y) * width + x) * planes + p]; }
  int MaxValue() const { return sampleBytes == 2 ? 32768 : 255; }
};
