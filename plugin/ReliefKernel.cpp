#include "ReliefKernel.h"


#include "FilterRecord.h"
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

// Pixels xs..xe-1 of row y, all of whose neighbours lie inside the input
// block and are opaque: the weighted rows are summed over whole runs of
// samples, then turned into output values. The sums are single-precision
// floating point, which every processor multiplies four or eight at a time;
// with weights of +-1/2 (the default) and whole samples they are exact, so
// the default relief is exactly the integer one. Other weights can differ
// from the exact sum by a fraction of a step, which may move a value by one.
// 8-bit samples with weights of +-1 at 100 % (the default, and every
// multiple of 45 degrees): the relief is the middle value plus half of a
// sum of whole samples, which 16-bit integers hold exactly (six samples of
// at most 255), eight at a time.
void UnitSegment(const ReliefPlan& plan, const Geometry<uint8_t>& g, int xs, int xe, int y) {
  int16_t sum[kSegment * 5];
  const int n = (xe - xs) * g.inPlanes;
  for (int i = 0; i < n; ++i) sum[i] = 0;
  for (int t = 0; t < plan.taps; ++t) {
    const uint8_t* src = g.At(xs + plan.dx[t], y + plan.dy[t]);
    if (plan.weight[t] > 0) {
      for (int i = 0; i < n; ++i) sum[i] = static_cast<int16_t>(sum[i] + src[i]);
    } else {
      for (int i = 0; i < n; ++i) sum[i] = static_cast<int16_t>(sum[i] - src[i]);
    }
  }
  const uint8_t* centre = g.At(xs, y);
  uint8_t* target = g.Target(xs, y);
  if (plan.overColours) {
    for (int i = 0; i < n; ++i) {
      const int half = (sum[i] + ((sum[i] >> 15) & 1)) >> 1;  // rounded towards zero
      target[i] = static_cast<uint8_t>(Clamp(centre[i] + half, 0, 255));
    }
  } else {
    for (int i = 0; i < n; ++i) {
      const int half = (sum[i] + ((sum[i] >> 15) & 1)) >> 1;
      target[i] = static_cast<uint8_t>(Clamp(128 + half, 0, 255));
    }
  }
}

inline void UnitSegment(const ReliefPlan&, const Geometry<uint16_t>&, int, int, int) {}

template <typename T>
void Segment(const ReliefPlan& plan, const Geometry<T>& g, int xs, int xe, int y, bool plain) {
  if (sizeof(T) == 1 && plain && plan.unitWeights) return UnitSegment(plan, g, xs, xe, y);
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
