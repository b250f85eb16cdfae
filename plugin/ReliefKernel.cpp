#include "ReliefKernel.h"

#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define RELIEF_AVX2 1
#endif

#include "ImageModes.h"

namespace relief {

namespace {

// Rounds n / d to the nearest integer, halves away from zero; d > 0.
int32_t RoundDiv(int64_t n, int64_t d) {
  return static_cast<int32_t>(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}

// The neighbours in the order of their direction, counter-clockwise from the
// right, 45 degrees apart; rows grow downwards.
constexpr int kStepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int kStepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};

inline int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

template <typename T>
struct Geometry {
  const T* in;
  const PixelBlock& inBlock;
  std::ptrdiff_t inRow;  // in samples
  int inPlanes;
  T* out;
  const PixelBlock& outBlock;
  std::ptrdiff_t outRow;
  int outPlanes;

  const T* At(int x, int y) const {
    x = Clamp(x, inBlock.left, inBlock.right - 1);
    y = Clamp(y, inBlock.top, inBlock.bottom - 1);
    return in + (y - inBlock.top) * inRow + std::ptrdiff_t(x - inBlock.left) * inPlanes;
  }
  T* Target(int x, int y) const {
    return out + (y - outBlock.top) * outRow + std::ptrdiff_t(x - outBlock.left) * outPlanes;
  }
};

// One pixel, the plain way: clamped neighbours, transparency weighed.
template <typename T>
void OnePixel(const ReliefPlan& plan, const Geometry<T>& g, int x, int y) {
  const T* centre = g.At(x, y);
  T* target = g.Target(x, y);
  if (plan.alphaPlane >= 0 && centre[plan.alphaPlane] == 0) {
    for (int c = 0; c < plan.colourPlanes; ++c) target[c] = centre[c];
    return;
  }
  const T* near[8];
  int opacity[8];
  for (int t = 0; t < plan.taps; ++t) {
    near[t] = g.At(x + plan.dx[t], y + plan.dy[t]);
    opacity[t] = plan.alphaPlane >= 0 ? Clamp(near[t][plan.alphaPlane], 0, plan.maxValue) : plan.maxValue;
  }
  for (int c = 0; c < plan.colourPlanes; ++c) {
    if (plan.role[c] == PlaneRole::kKeep) {
      target[c] = centre[c];
      continue;
    }
    if (plan.role[c] == PlaneRole::kNeutral) {
      target[c] = static_cast<T>(plan.middle);
      continue;
    }
    const int own = centre[c];
    // Each neighbour blended towards the centre by its transparency, kept
    // exact: the sum is maxValue times the weighted sum.
    int64_t sum = 0;
    for (int t = 0; t < plan.taps; ++t) {
      const int64_t blended = int64_t(own) * plan.maxValue + int64_t(near[t][c] - own) * opacity[t];
      sum += plan.weight[t] * blended;
    }
    const int64_t relief = sum / (int64_t(plan.maxValue) << (kWeightBits + 1));  // rounded towards zero
    const int base = plan.overColours ? own : plan.middle;
    target[c] = static_cast<T>(Clamp(static_cast<int>(base + relief), 0, plan.maxValue));
  }
}

// True when every neighbour of pixels xs..xe-1 of row y is fully opaque.
template <typename T>
bool Opaque(const ReliefPlan& plan, const Geometry<T>& g, int xs, int xe, int y) {
  if (plan.alphaPlane < 0) return true;
  for (int r = -plan.reach; r <= plan.reach; r += plan.reach) {
    const T* p = g.At(xs - plan.reach, y + r) + plan.alphaPlane;
    for (int x = xs - plan.reach; x < xe + plan.reach; ++x, p += g.inPlanes)
      if (*p != plan.maxValue) return false;
  }
  return true;
}

constexpr int kSegment = 256;  // pixels summed at a time, so the sums stay in the first-level cache

#ifdef RELIEF_AVX2
bool HaveAvx2();

// 16-bit samples at unit weights sixteen at a time, where the processor has
// AVX2: the halves and parities of UnitSamples16 below, in wider lanes.
__attribute__((target("avx2"))) int UnitSamples16Avx2(const uint16_t* const* plus, const uint16_t* const* minus,
                                                       const uint16_t* centre, bool over, uint16_t* target, int n) {
  const __m256i one = _mm256_set1_epi16(1);
  const __m256i top = _mm256_set1_epi16(int16_t(-32768));
  const __m256i grey = _mm256_set1_epi16(16384);
  int i = 0;
  for (; i + 16 <= n; i += 16) {
    __m256i h[2], p[2];
    for (int side = 0; side < 2; ++side) {
      const uint16_t* const* rows = side == 0 ? plus : minus;
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[0] + i));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[1] + i));
      const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[2] + i));
      const __m256i ab = _mm256_xor_si256(a, b);
      p[side] = _mm256_and_si256(_mm256_xor_si256(ab, c), one);
      const __m256i borrow = _mm256_and_si256(_mm256_andnot_si256(c, ab), one);
      h[side] = _mm256_sub_epi16(_mm256_add_epi16(_mm256_avg_epu16(a, b), _mm256_srli_epi16(c, 1)), borrow);
    }
    const __m256i up = _mm256_subs_epu16(_mm256_subs_epu16(h[0], h[1]), _mm256_andnot_si256(p[0], p[1]));
    const __m256i down = _mm256_subs_epu16(_mm256_subs_epu16(h[1], h[0]), _mm256_andnot_si256(p[1], p[0]));
    const __m256i base = over ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(centre + i)) : grey;
    const __m256i v = _mm256_subs_epu16(_mm256_adds_epu16(base, up), down);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i), _mm256_sub_epi16(v, _mm256_subs_epu16(v, top)));
  }
  return i;
}
#endif

// 16-bit samples (0..32768) at unit weights, eight at a time in 16-bit
// lanes, exactly as the scalar loop: returns how many samples it did (a
// multiple of 8; 0 without SSE2 or for another range). The six-sample sum
// needs 18 bits, so each three-sample sum is held as its half and its
// parity (P = 2 hp + pp), which 16 bits hold:
//   hp = avg(a, b) + c/2 - (a+b odd and c even),   pp = (a ^ b ^ c) & 1,
// where avg rounds up. With D = hp - hm, trunc((P - M) / 2) is D moved one
// step towards zero when the parities differ and the odd one is on the
// side of D's sign's opposite: +1 when pp > pm and D < 0, -1 when pm > pp
// and D > 0. It is kept as w - w2 with one of them 0 (saturating
// differences), added to the base with saturation and clamped to 32768.
int UnitSamples16(const uint16_t* const* plus, const uint16_t* const* minus, const uint16_t* centre, bool over,
                  int middle, int maxValue, uint16_t* target, int n) {
  if (maxValue != 32768 || middle != 16384) return 0;
  int i = 0;
#ifdef RELIEF_AVX2
  if (HaveAvx2()) i = UnitSamples16Avx2(plus, minus, centre, over, target, n);
#endif
#ifdef __SSE2__
  const __m128i one = _mm_set1_epi16(1);
  const __m128i top = _mm_set1_epi16(int16_t(-32768));  // 32768 as an unsigned lane
  const __m128i grey = _mm_set1_epi16(16384);
  auto load = [](const uint16_t* p, int i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)); };
  // floor((a + b + c) / 2) and the parity of a + b + c.
  auto halve = [&](__m128i a, __m128i b, __m128i c, __m128i* parity) {
    const __m128i ab = _mm_xor_si128(a, b);
    *parity = _mm_and_si128(_mm_xor_si128(ab, c), one);
    const __m128i borrow = _mm_and_si128(_mm_andnot_si128(c, ab), one);
    return _mm_sub_epi16(_mm_add_epi16(_mm_avg_epu16(a, b), _mm_srli_epi16(c, 1)), borrow);
  };
  for (; i + 8 <= n; i += 8) {
    __m128i pp, pm;
    const __m128i hp = halve(load(plus[0], i), load(plus[1], i), load(plus[2], i), &pp);
    const __m128i hm = halve(load(minus[0], i), load(minus[1], i), load(minus[2], i), &pm);
    const __m128i up = _mm_subs_epu16(_mm_subs_epu16(hp, hm), _mm_andnot_si128(pp, pm));
    const __m128i down = _mm_subs_epu16(_mm_subs_epu16(hm, hp), _mm_andnot_si128(pm, pp));
    const __m128i base = over ? load(centre, i) : grey;
    const __m128i v = _mm_subs_epu16(_mm_adds_epu16(base, up), down);
    const __m128i clamped = _mm_sub_epi16(v, _mm_subs_epu16(v, top));  // min(v, 32768)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), clamped);
  }
#else
  (void)plus, (void)minus, (void)centre, (void)over, (void)target, (void)n;
#endif
  return i;
}

// 8-bit samples at unit weights, 32 at a time in 16-bit lanes, where the
// processor has AVX2 (the rest of the row is left to the caller's loop):
// the same sums, halves rounded towards zero and saturation as the scalar
// loop. Returns how many samples it did, a multiple of 32.
#ifdef RELIEF_AVX2
__attribute__((target("avx2"))) inline __m256i Wide(const uint8_t* p) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

__attribute__((target("avx2"))) inline __m256i Relief16(const uint8_t* const* plus, const uint8_t* const* minus,
                                                         const uint8_t* centre, bool over, int at) {
  __m256i sum = _mm256_add_epi16(_mm256_add_epi16(Wide(plus[0] + at), Wide(plus[1] + at)), Wide(plus[2] + at));
  sum = _mm256_sub_epi16(sum, _mm256_add_epi16(_mm256_add_epi16(Wide(minus[0] + at), Wide(minus[1] + at)),
                                               Wide(minus[2] + at)));
  const __m256i half = _mm256_srai_epi16(_mm256_add_epi16(sum, _mm256_srli_epi16(sum, 15)), 1);
  return _mm256_add_epi16(over ? Wide(centre + at) : _mm256_set1_epi16(128), half);
}

__attribute__((target("avx2"))) int UnitSamples8Avx2(const uint8_t* const* plus, const uint8_t* const* minus,
                                                      const uint8_t* centre, bool over, uint8_t* target, int n) {
  int i = 0;
  for (; i + 32 <= n; i += 32) {
    // packus works within 128-bit halves: the quarters come back in order 0, 2, 1, 3.
    const __m256i packed =
        _mm256_packus_epi16(Relief16(plus, minus, centre, over, i), Relief16(plus, minus, centre, over, i + 16));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i), _mm256_permute4x64_epi64(packed, 0xD8));
  }
  return i;
}

// No function-local static here: its thread-safe guard would bring the C++
// runtime's exception machinery into the plug-in (three times its size).
// After the first call, both are a read of what that call found.
bool HaveAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}
#endif

int UnitSamples8(const uint8_t* const* plus, const uint8_t* const* minus, const uint8_t* centre, bool over,
                 uint8_t* target, int n) {
#ifdef RELIEF_AVX2
  if (HaveAvx2()) return UnitSamples8Avx2(plus, minus, centre, over, target, n);
#endif
  (void)plus, (void)minus, (void)centre, (void)over, (void)target, (void)n;
  return 0;
}

// Pixels xs..xe-1 of row y, all of whose neighbours lie inside the input
// block and are opaque: the weighted rows are summed over whole runs of
// samples, then turned into output values. The sums are single-precision
// floating point, which every processor multiplies four or eight at a time;
// with weights of +-1/2 (the default) and whole samples they are exact, so
// the default relief is exactly the integer one. Other weights can differ
// from the exact sum by a fraction of a step, which may move a value by one.
// Weights of +-1 at 100 % (the default, and every multiple of 45 degrees):
// the relief is the base value plus half of a sum of whole samples, which
// integers hold exactly (16 bits for six 8-bit samples, 32 for 16-bit ones),
// eight or four at a time, in one pass over the six neighbour rows. False,
// doing nothing, unless the weights are three +1 and three -1.
template <typename T>
bool UnitSegment(const ReliefPlan& plan, const Geometry<T>& g, int xs, int xe, int y) {
  using Sum = typename std::conditional<sizeof(T) == 1, int16_t, int32_t>::type;
  constexpr int kSignBit = sizeof(Sum) * 8 - 1;
  const T* plus[3] = {};
  const T* minus[3] = {};
  int np = 0, nm = 0;
  for (int t = 0; t < plan.taps; ++t) {
    const T* src = g.At(xs + plan.dx[t], y + plan.dy[t]);
    if (plan.weight[t] > 0 && np < 3) plus[np++] = src;
    if (plan.weight[t] < 0 && nm < 3) minus[nm++] = src;
  }
  if (np != 3 || nm != 3 || plan.taps != 6) return false;
  const int n = (xe - xs) * g.inPlanes;
  const T* __restrict a = plus[0];
  const T* __restrict b = plus[1];
  const T* __restrict c = plus[2];
  const T* __restrict d = minus[0];
  const T* __restrict e = minus[1];
  const T* __restrict f = minus[2];
  const T* __restrict centre = g.At(xs, y);
  T* __restrict target = g.Target(xs, y);
  const bool over = plan.overColours;
  const Sum middle = static_cast<Sum>(plan.middle);
  const Sum maxValue = static_cast<Sum>(plan.maxValue);
  int i = 0;
  if (sizeof(T) == 2) i = UnitSamples16(reinterpret_cast<const uint16_t* const*>(plus),
                                        reinterpret_cast<const uint16_t* const*>(minus),
                                        reinterpret_cast<const uint16_t*>(centre), over, plan.middle, plan.maxValue,
                                        reinterpret_cast<uint16_t*>(target), n);
  if (sizeof(T) == 1 && plan.middle == 128 && plan.maxValue == 255)
    i = UnitSamples8(reinterpret_cast<const uint8_t* const*>(plus), reinterpret_cast<const uint8_t* const*>(minus),
                     reinterpret_cast<const uint8_t*>(centre), over, reinterpret_cast<uint8_t*>(target), n);
  for (; i < n; ++i) {
    const Sum sum = static_cast<Sum>(Sum(a[i]) + b[i] + c[i] - d[i] - e[i] - f[i]);
    const Sum half = static_cast<Sum>((sum + ((sum >> kSignBit) & 1)) >> 1);  // rounded towards zero
    const Sum v = static_cast<Sum>((over ? Sum(centre[i]) : middle) + half);
    target[i] = static_cast<T>(v < 0 ? 0 : v > maxValue ? maxValue : v);
  }
  return true;
}

template <typename T>
void Segment(const ReliefPlan& plan, const Geometry<T>& g, int xs, int xe, int y, bool plain) {
  if (plain && plan.unitWeights && UnitSegment(plan, g, xs, xe, y)) return;
  float sum[kSegment * 5];
  const int n = (xe - xs) * g.inPlanes;
  {
    const T* src = g.At(xs + plan.dx[0], y + plan.dy[0]);
    const float w = plan.halfWeight[0];
    for (int i = 0; i < n; ++i) sum[i] = w * float(src[i]);
  }
  for (int t = 1; t < plan.taps; ++t) {
    const T* src = g.At(xs + plan.dx[t], y + plan.dy[t]);
    const float w = plan.halfWeight[t];
    for (int i = 0; i < n; ++i) sum[i] += w * float(src[i]);
  }
  const T* centre = g.At(xs, y);
  T* target = g.Target(xs, y);
  const int maxValue = plan.maxValue;
  if (plain) {
    // Input and output hold the same planes, every one relieved.
    if (plan.overColours) {
      for (int i = 0; i < n; ++i)
        target[i] = static_cast<T>(Clamp(centre[i] + static_cast<int>(sum[i]), 0, maxValue));
    } else {
      const int middle = plan.middle;
      for (int i = 0; i < n; ++i) target[i] = static_cast<T>(Clamp(middle + static_cast<int>(sum[i]), 0, maxValue));
    }
    return;
  }
  for (int x = 0; x < xe - xs; ++x) {
    const float* s = sum + x * g.inPlanes;
    const T* own = centre + x * g.inPlanes;
    T* t = target + x * g.outPlanes;
    for (int c = 0; c < plan.colourPlanes; ++c) {
      switch (plan.role[c]) {
        case PlaneRole::kRelief: {
          const int base = plan.overColours ? own[c] : plan.middle;
          t[c] = static_cast<T>(Clamp(base + static_cast<int>(s[c]), 0, maxValue));
          break;
        }
        case PlaneRole::kNeutral:
          t[c] = static_cast<T>(plan.middle);
          break;
        case PlaneRole::kKeep:
          t[c] = own[c];
          break;
      }
    }
  }
}

template <typename T>
void Rows(const ReliefPlan& plan, const T* in, const PixelBlock& inBlock, T* out, const PixelBlock& outBlock,
          int firstRow, int lastRow) {
  if (inBlock.right <= inBlock.left || inBlock.bottom <= inBlock.top || plan.taps == 0) return;
  const int inPlanes = inBlock.pixelBytes / int(sizeof(T));
  const int outPlanes = outBlock.pixelBytes / int(sizeof(T));
  if (inPlanes < 1 || inPlanes > 5 || outPlanes < plan.colourPlanes) return;
  const Geometry<T> g{in,  inBlock,  inBlock.rowBytes / std::ptrdiff_t(sizeof(T)),  inPlanes,
                      out, outBlock, outBlock.rowBytes / std::ptrdiff_t(sizeof(T)), outPlanes};
  bool plain = inPlanes == outPlanes && inPlanes == plan.colourPlanes;
  for (int c = 0; c < plan.colourPlanes; ++c) plain = plain && plan.role[c] == PlaneRole::kRelief;
  // Pixels whose neighbours all lie inside the input block.
  const int innerLeft = outBlock.left > inBlock.left + plan.reach ? outBlock.left : inBlock.left + plan.reach;
  const int innerRight = outBlock.right < inBlock.right - plan.reach ? outBlock.right : inBlock.right - plan.reach;
  for (int y = firstRow; y < lastRow; ++y) {
    const bool rowsInside = y - plan.reach >= inBlock.top && y + plan.reach < inBlock.bottom;
    if (!rowsInside || innerLeft >= innerRight) {
      for (int x = outBlock.left; x < outBlock.right; ++x) OnePixel(plan, g, x, y);
      continue;
    }
    for (int x = outBlock.left; x < innerLeft; ++x) OnePixel(plan, g, x, y);
    for (int xs = innerLeft; xs < innerRight; xs += kSegment) {
      const int xe = innerRight - xs > kSegment ? xs + kSegment : innerRight;
      if (Opaque(plan, g, xs, xe, y)) {
        Segment(plan, g, xs, xe, y, plain);
      } else {
        for (int x = xs; x < xe; ++x) OnePixel(plan, g, x, y);
      }
    }
    for (int x = innerRight; x < outBlock.right; ++x) OnePixel(plan, g, x, y);
  }
}

}  // namespace

bool MakePlan(const ReliefSettings& settings, int imageMode, bool transparency, ReliefPlan* plan) {
  const ModeInfo mode = DescribeMode(imageMode);
  if (!SettingsAreValid(settings) || mode.colourPlanes == 0 || !plan) return false;
  ReliefPlan p;
  // Direction away from the light, in degrees counter-clockwise from the right.
  const int away = settings.angle + 180;
  const int64_t full = int64_t(settings.amount) << kWeightBits;  // a weight of 1, times 100
  for (int k = 0; k < 8; ++k) {
    int apart = ((45 * k - away) % 360 + 360) % 360;  // 0..359
    if (apart > 180) apart = 360 - apart;            // 0..180
    const int numerator = apart <= 45 ? 45 : apart >= 135 ? -45 : 90 - apart;
    const int32_t weight = RoundDiv(full * numerator, 45 * 100);
    if (weight == 0) continue;
    p.dx[p.taps] = kStepX[k] * settings.height;
    p.dy[p.taps] = kStepY[k] * settings.height;
    p.weight[p.taps] = weight;
    p.halfWeight[p.taps] = static_cast<float>(weight) / float(1 << (kWeightBits + 1));
    ++p.taps;
  }
  p.unitWeights = true;
  for (int t = 0; t < p.taps; ++t)
    p.unitWeights = p.unitWeights && (p.weight[t] == (1 << kWeightBits) || p.weight[t] == -(1 << kWeightBits));
  p.reach = settings.height;
  p.sampleBytes = mode.sampleBytes;
  p.maxValue = mode.maxValue;
  p.middle = mode.maxValue == 255 ? 128 : mode.maxValue / 2;
  p.colourPlanes = mode.colourPlanes;
  p.overColours = settings.result == ReliefResult::kColours;
  for (int c = 0; c < mode.colourPlanes; ++c) {
    const bool colourOfLab = mode.lab && c > 0;
    p.role[c] = !colourOfLab ? PlaneRole::kRelief : p.overColours ? PlaneRole::kKeep : PlaneRole::kNeutral;
  }
  p.alphaPlane = transparency ? mode.colourPlanes : -1;
  *plan = p;
  return true;
}

void ReliefRows(const ReliefPlan& plan, const void* in, const PixelBlock& inBlock, void* out,
                const PixelBlock& outBlock, int firstRow, int lastRow) {
  if (firstRow < outBlock.top) firstRow = outBlock.top;
  if (lastRow > outBlock.bottom) lastRow = outBlock.bottom;
  if (plan.sampleBytes == 2) {
    Rows(plan, static_cast<const uint16_t*>(in), inBlock, static_cast<uint16_t*>(out), outBlock, firstRow, lastRow);
  } else {
    Rows(plan, static_cast<const uint8_t*>(in), inBlock, static_cast<uint8_t*>(out), outBlock, firstRow, lastRow);
  }
}

uint8_t ReliefValue(int west, int north, int northWest, int east, int south, int southEast) {
  const int value = 128 + ((east + south + southEast) - (west + north + northWest)) / 2;
  return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

void ReliefBlock(const uint8_t* in, const PixelBlock& inBlock, uint8_t* out, const PixelBlock& outBlock,
                 int channels) {
  if (channels < 1 || channels > 4) return;
  ReliefPlan plan;
  MakePlan(kDefaultSettings, kModeCmyk, false, &plan);
  plan.colourPlanes = channels;
  ReliefRows(plan, in, inBlock, out, outBlock, outBlock.top, outBlock.bottom);
}

}  // namespace relief
