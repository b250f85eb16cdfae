#include "ReliefFilter.h"

#include "FilterBands.h"
#include "ReliefKernel.h"

namespace relief {

namespace {

Area ToArea(const HostRect& r) { return Area{r.top, r.left, r.bottom, r.right}; }

HostRect ToHost(const Area& a) {
  return HostRect{static_cast<int16_t>(a.top), static_cast<int16_t>(a.left), static_cast<int16_t>(a.bottom),
                  static_cast<int16_t>(a.right)};
}

void AskForNothing(FilterRecordView* r) {
  r->inRect = HostRect{0, 0, 0, 0};
  r->outRect = HostRect{0, 0, 0, 0};
  r->maskRect = HostRect{0, 0, 0, 0};
}

// Asks for the band starting at firstRow; false when the rectangle is done.
bool AskForBand(FilterRecordView* r, int firstRow) {
  const int channels = ColourPlanes(r->imageMode);
  const Area filter = ToArea(r->filterRect);
  const int rows = BandRows(filter.right - filter.left, channels, r->maxSpace);
  Area in{}, out{};
  if (!PlanBand(filter, r->imageSize.h, r->imageSize.v, firstRow, rows, &in, &out)) {
    AskForNothing(r);
    return false;
  }
  r->inRect = ToHost(in);
  r->outRect = ToHost(out);
  r->maskRect = HostRect{0, 0, 0, 0};
  r->inLoPlane = r->outLoPlane = 0;
  r->inHiPlane = r->outHiPlane = static_cast<int16_t>(channels - 1);
  return true;
}

int16_t CheckRecord(const FilterRecordView* r) {
  if (!r) return kResultBadParameters;
  const int channels = ColourPlanes(r->imageMode);
  if (channels == 0) return kResultBadMode;
  if (!GeometryIsSound(ToArea(r->filterRect), r->imageSize.h, r->imageSize.v, r->planes, channels))
    return kResultBadParameters;
  return kResultOk;
}

// The band the host handed over, as it was asked for; false when the host's
// buffers cannot hold it.
bool HandedOver(const FilterRecordView* r, int channels, PixelBlock* in, PixelBlock* out) {
  const int planesIn = r->inHiPlane - r->inLoPlane + 1;
  const int planesOut = r->outHiPlane - r->outLoPlane + 1;
  if (!r->inData || !r->outData || planesIn < channels || planesOut < channels) return false;
  *in = PixelBlock{r->inRect.left, r->inRect.top, r->inRect.right, r->inRect.bottom, r->inRowBytes, planesIn};
  *out = PixelBlock{r->outRect.left, r->outRect.top, r->outRect.right, r->outRect.bottom, r->outRowBytes, planesOut};
  const bool inCoversOut = in->left <= out->left && in->top <= out->top && in->right >= out->right &&
                           in->bottom >= out->bottom;
  return inCoversOut && in->rowBytes >= static_cast<std::ptrdiff_t>(in->right - in->left) * planesIn &&
         out->rowBytes >= static_cast<std::ptrdiff_t>(out->right - out->left) * planesOut;
}

}  // namespace

int16_t PrepareFilter(FilterRecordView* record) {
  if (!record) return kResultBadParameters;
  if (ColourPlanes(record->imageMode) == 0) return kResultBadMode;
  record->bufferSpace = 0;
  return kResultOk;
}

int16_t StartFilter(FilterRecordView* record) {
  const int16_t check = CheckRecord(record);
  if (check != kResultOk) {
    if (record) AskForNothing(record);
    return check;
  }
  AskForBand(record, record->filterRect.top);
  return kResultOk;
}

int16_t ContinueFilter(FilterRecordView* record) {
  const int16_t check = CheckRecord(record);
  if (check != kResultOk) {
    if (record) AskForNothing(record);
    return check;
  }
  if (IsEmpty(ToArea(record->outRect))) {
    AskForNothing(record);
    return kResultOk;
  }
  if (record->testAbort && record->testAbort()) {
    AskForNothing(record);
    return kResultUserCancelled;
  }
  const int channels = ColourPlanes(record->imageMode);
  PixelBlock in{}, out{};
  if (!HandedOver(record, channels, &in, &out)) {
    AskForNothing(record);
    return kResultBadParameters;
  }
  ReliefBlock(static_cast<const uint8_t*>(record->inData), in, static_cast<uint8_t*>(record->outData), out,
              channels);
  const int top = record->filterRect.top;
  if (record->reportProgress) record->reportProgress(out.bottom - top, record->filterRect.bottom - top);
  AskForBand(record, out.bottom);
  return kResultOk;
}

int16_t FinishFilter(FilterRecordView* record) {
  if (record) AskForNothing(record);
  return kResultOk;
}

}  // namespace relief
