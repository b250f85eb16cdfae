// The benchmark's own filter: it asks for every band of the filter rectangle
// in turn, as large as iRelief's, and hands each back as it came, computing
// nothing. What it costs in a host is the host's own share of a run: the
// most any filter can reach there.
#include <cstdint>
#include <cstring>

#include "plugin/FilterBands.h"
#include "plugin/FilterRecord.h"

using namespace relief::pi;

namespace {

void AskFrom(FilterRecord* r, int top) {
  const Rect16 f = r->filterRect;
  if (top >= f.bottom || f.right <= f.left) {
    r->inRect = r->outRect = r->maskRect = Rect16{0, 0, 0, 0};
    return;
  }
  const int rowBytes = (f.right - f.left) * (r->planes > 0 ? r->planes : 1);
  int rows = relief::kBandBudget / (rowBytes > 0 ? rowBytes : 1);
  if (rows < 1) rows = 1;
  const int bottom = top + rows < f.bottom ? top + rows : f.bottom;
  r->inRect = r->outRect = Rect16{int16_t(top), f.left, int16_t(bottom), f.right};
  r->maskRect = Rect16{0, 0, 0, 0};
  r->inLoPlane = r->outLoPlane = 0;
  r->inHiPlane = r->outHiPlane = int16_t(r->planes - 1);
}

void HandBack(const FilterRecord* r) {
  if (!r->inData || !r->outData) return;
  const int rows = r->outRect.bottom - r->outRect.top;
  const std::size_t used = std::size_t(r->outRect.right - r->outRect.left) * (r->outHiPlane - r->outLoPlane + 1);
  for (int y = 0; y < rows; ++y)
    std::memcpy(static_cast<uint8_t*>(r->outData) + std::size_t(y) * r->outRowBytes,
                static_cast<const uint8_t*>(r->inData) + std::size_t(y) * r->inRowBytes, used);
}

}  // namespace

extern "C" __declspec(dllexport) void PluginMain(int16_t selector, void* record, intptr_t*, int16_t* result) {
  if (!result) return;
  *result = 0;
  auto* r = static_cast<FilterRecord*>(record);
  if (!r || selector == 0 || selector == 1) return;
  if (selector == 2) r->bufferSpace = 0;
  if (selector == 3) AskFrom(r, r->filterRect.top);
  if (selector == 4) {
    HandBack(r);
    AskFrom(r, r->outRect.bottom);
  }
  if (selector == 5) r->inRect = r->outRect = r->maskRect = Rect16{0, 0, 0, 0};
}
