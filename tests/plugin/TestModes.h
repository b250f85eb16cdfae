#pragma once
// Image modes as hosts report them, and what an image of each mode holds
// for the filter: the modes the filter supports, each at its depth, for the
// tests that go through them all. No <windows.h>: the native tests use it too.
#include <cstdint>

namespace modes {

constexpr int16_t kBitmap = 0;
constexpr int16_t kGray = 1;
constexpr int16_t kIndexed = 2;
constexpr int16_t kRgb = 3;
constexpr int16_t kCmyk = 4;
constexpr int16_t kMultichannel = 7;
constexpr int16_t kLab = 9;
constexpr int16_t kGray16 = 10;
constexpr int16_t kRgb48 = 11;
constexpr int16_t kLab48 = 12;
constexpr int16_t kCmyk64 = 13;
constexpr int16_t kDeepMultichannel = 14;
constexpr int16_t kDuotone16 = 15;

struct Mode {
  const char* what;
  int16_t mode;
  int planes;       // colour planes
  int sampleBytes;  // 1, or 2 for 16-bit samples (0..32768)
  bool lab;         // planes 1 and 2 are colour, not light
};

constexpr Mode kSupported[] = {
    {"grayscale 8", kGray, 1, 1, false}, {"grayscale 16", kGray16, 1, 2, false},
    {"RGB 8", kRgb, 3, 1, false},        {"RGB 16", kRgb48, 3, 2, false},
    {"CMYK 8", kCmyk, 4, 1, false},      {"CMYK 16", kCmyk64, 4, 2, false},
    {"Lab 8", kLab, 3, 1, true},         {"Lab 16", kLab48, 3, 2, true},
};

// The mode's entry, or null for a mode the filter does not support.
inline const Mode* Find(int mode) {
  for (const Mode& m : kSupported)
    if (m.mode == mode) return &m;
  return nullptr;
}

}  // namespace modes
