#include "jui/PackedPicture.h"

#include "jui/Inflate.h"

namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxStep = 31;
constexpr int kMaxDpi = 960;
constexpr int kChannels = 3;
constexpr int kTaps = 4;
// The largest denominator of the enlargement's phases: its weights, over
// twice its cube, then stay far inside 64-bit sums.
constexpr long long kMaxPhaseDenominator = 64;

int Word(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

long long FloorDiv(long long a, long long b) {  // b > 0
  const long long q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

long long Gcd(long long a, long long b) {
  while (b) {
    const long long t = a % b;
    a = b;
    b = t;
  }
  return a;
}

// The four source indexes (clamped to the edges) and weights of destination
// pixel j; returns the weights' sum. Pixel centres line up: j covers source
// position (j + 1/2) src/dst - 1/2.
long long Taps(int j, int sourceCount, int srcDpi, int dstDpi, int index[kTaps], long long weight[kTaps]) {
  const long long num = static_cast<long long>(2 * j + 1) * srcDpi - dstDpi;
  const long long den = 2LL * dstDpi;
  const long long i = FloorDiv(num, den);
  long long n = num - i * den;
  const long long g = Gcd(n, den);
  const long long d = den / g;
  n /= g;
  weight[0] = -n * n * n + 2 * n * n * d - n * d * d;
  weight[1] = 3 * n * n * n - 5 * n * n * d + 2 * d * d * d;
  weight[2] = -3 * n * n * n + 4 * n * n * d + n * d * d;
  weight[3] = n * n * n - n * n * d;
  for (int k = 0; k < kTaps; ++k) {
    long long at = i - 1 + k;
    index[k] = static_cast<int>(at < 0 ? 0 : (at >= sourceCount ? sourceCount - 1 : at));
  }
  return 2 * d * d * d;
}

std::uint8_t Clamp(long long v) { return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

}  // namespace

bool ReadPackedPictureHeader(const std::uint8_t* data, std::size_t size, PackedPictureInfo* info) {
  if (!data || size < kPackedHeaderSize) return false;
  if (data[0] != 'J' || data[1] != 'P' || data[2] != 'K' || data[3] != '1' || data[9] != 0) return false;
  PackedPictureInfo p = {Word(data + 4), Word(data + 6), data[8], Word(data + 10), Word(data + 12), Word(data + 14),
                         Word(data + 16)};
  const bool sides = p.width >= 1 && p.height >= 1 && p.width <= kMaxSide && p.height <= kMaxSide &&
                     p.baseWidth >= 1 && p.baseHeight >= 1 && p.baseWidth <= kMaxSide && p.baseHeight <= kMaxSide;
  if (!sides || p.step < 1 || p.step > kMaxStep || p.baseDpi < 1 || p.dpi < 1 || p.baseDpi > kMaxDpi ||
      p.dpi > kMaxDpi || 2LL * p.dpi / Gcd(p.baseDpi, p.dpi) > kMaxPhaseDenominator)
    return false;
  *info = p;
  return true;
}

namespace {

// One destination column's or row's taps, worked out once per picture.
struct Tap {
  int index[kTaps];
  long long weight[kTaps];
  long long sum;
};
static_assert(sizeof(Tap) % sizeof(long long) == 0, "taps pack into the 64-bit scratch");

constexpr std::size_t kTapWords = sizeof(Tap) / sizeof(long long);

}  // namespace

std::size_t EnlargeScratch(int dw) {
  return static_cast<std::size_t>(kTaps) * dw * kChannels + static_cast<std::size_t>(dw) * kTapWords;
}

std::size_t PackedPictureScratch(const PackedPictureInfo& info) {
  return static_cast<std::size_t>(info.width) * info.height * kChannels +
         EnlargeScratch(info.width) * sizeof(long long) + sizeof(long long);
}

void EnlargePicture(const std::uint8_t* src, std::size_t srcStride, int sw, int sh, int srcDpi, std::uint8_t* dst,
                    std::size_t dstStride, int dw, int dh, int dstDpi, long long* rows) {
  const std::size_t rowValues = static_cast<std::size_t>(dw) * kChannels;
  Tap* columns = reinterpret_cast<Tap*>(rows + kTaps * rowValues);
  for (int x = 0; x < dw; ++x) columns[x].sum = Taps(x, sw, srcDpi, dstDpi, columns[x].index, columns[x].weight);
  // Rows of the source filtered across, four kept at a time; the output
  // walks down the source, so row r lives in slot r % 4.
  int held[kTaps] = {-1, -1, -1, -1};
  for (int y = 0; y < dh; ++y) {
    Tap down;
    down.sum = Taps(y, sh, srcDpi, dstDpi, down.index, down.weight);
    const long long* slot[kTaps];
    for (int k = 0; k < kTaps; ++k) {
      const int r = down.index[k];
      long long* values = rows + static_cast<std::size_t>(r % kTaps) * rowValues;
      slot[k] = values;
      if (held[r % kTaps] == r) continue;
      held[r % kTaps] = r;
      const std::uint8_t* line = src + static_cast<std::size_t>(r) * srcStride;
      for (int x = 0; x < dw; ++x) {
        const Tap& t = columns[x];
        for (int c = 0; c < kChannels; ++c) {
          long long sum = 0;
          for (int i = 0; i < kTaps; ++i) sum += t.weight[i] * line[t.index[i] * kChannels + c];
          values[x * kChannels + c] = sum;
        }
      }
    }
    std::uint8_t* out = dst + static_cast<std::size_t>(y) * dstStride;
    for (int x = 0; x < dw; ++x) {
      const long long total = down.sum * columns[x].sum;
      for (int c = 0; c < kChannels; ++c) {
        const std::size_t at = static_cast<std::size_t>(x) * kChannels + c;
        const long long sum = down.weight[0] * slot[0][at] + down.weight[1] * slot[1][at] +
                              down.weight[2] * slot[2][at] + down.weight[3] * slot[3][at];
        out[at] = Clamp(FloorDiv(2 * sum + total, 2 * total));
      }
    }
  }
}

bool DecodePackedPicture(const std::uint8_t* data, std::size_t size, const std::uint8_t* base, std::size_t baseStride,
                         std::uint8_t* pixels, std::size_t stride, std::uint8_t* scratch, std::size_t scratchSize) {
  PackedPictureInfo info;
  if (!ReadPackedPictureHeader(data, size, &info) || !base || !pixels || !scratch) return false;
  const std::size_t rowBytes = static_cast<std::size_t>(info.width) * kChannels;
  const std::size_t residuals = rowBytes * info.height;
  if (stride < rowBytes || baseStride < static_cast<std::size_t>(info.baseWidth) * kChannels ||
      scratchSize < PackedPictureScratch(info))
    return false;
  std::size_t written = 0;
  if (!InflateZlib(data + kPackedHeaderSize, size - kPackedHeaderSize, scratch, residuals, &written) ||
      written != residuals)
    return false;
  // The ring of filtered rows, aligned for 64-bit values, after the residuals.
  std::uint8_t* after = scratch + residuals;
  after += (sizeof(long long) - reinterpret_cast<std::uintptr_t>(after) % sizeof(long long)) % sizeof(long long);
  long long* rows = reinterpret_cast<long long*>(after);
  EnlargePicture(base, baseStride, info.baseWidth, info.baseHeight, info.baseDpi, pixels, stride, info.width,
                 info.height, info.dpi, rows);
  for (int y = 0; y < info.height; ++y) {
    std::uint8_t* row = pixels + static_cast<std::size_t>(y) * stride;
    const std::uint8_t* q = scratch + static_cast<std::size_t>(y) * rowBytes;
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const int residual = q[i] < 128 ? q[i] : q[i] - 256;
      row[i] = Clamp(static_cast<long long>(row[i]) + residual * info.step);
    }
  }
  return true;
}
