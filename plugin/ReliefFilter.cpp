#include "ReliefFilter.h"

#include "FilterBands.h"
#include "ImageModes.h"
#include "ParallelRows.h"
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

// Planes read: the colour planes and the transparency when there is one.
int InputPlanes(const FilterRecordView* r) { return ColourPlanes(r->imageMode) + (HasTransparency(r) ? 1 : 0); }

// Asks for the band starting at firstRow; false when the rectangle is done.
bool AskForBand(FilterRecordView* r, int firstRow, const ReliefSettings& settings) {
  const ModeInfo mode = DescribeMode(r->imageMode);
  const Area filter = ToArea(r->filterRect);
  const int planes = InputPlanes(r);
  const int rows = BandRows(filter.right - filter.left, planes * mode.sampleBytes, r->maxSpace, settings.height);
  Area in{}, out{};
  if (!PlanBand(filter, r->imageSize.h, r->imageSize.v, firstRow, rows, &in, &out, settings.height)) {
    AskForNothing(r);
    return false;
  }
  r->inRect = ToHost(in);
  r->outRect = ToHost(out);
  r->maskRect = HostRect{0, 0, 0, 0};
  r->inLoPlane = r->outLoPlane = 0;
  r->inHiPlane = static_cast<int16_t>(planes - 1);
  r->outHiPlane = static_cast<int16_t>(mode.colourPlanes - 1);
  return true;
}

int16_t CheckRecord(const FilterRecordView* r, const ReliefSettings& settings) {
  if (!r || !SettingsAreValid(settings)) return kResultBadParameters;
  const int channels = ColourPlanes(r->imageMode);
  if (channels == 0) return kResultBadMode;
  if (!GeometryIsSound(ToArea(r->filterRect), r->imageSize.h, r->imageSize.v, r->planes, channels))
    return kResultBadParameters;
  return kResultOk;
}

// The band the host handed over, as it was asked for; false when the host's
// buffers cannot hold it.
bool HandedOver(const FilterRecordView* r, PixelBlock* in, PixelBlock* out) {
  const ModeInfo mode = DescribeMode(r->imageMode);
  const int planesIn = r->inHiPlane - r->inLoPlane + 1;
  const int planesOut = r->outHiPlane - r->outLoPlane + 1;
  if (!r->inData || !r->outData || planesIn < InputPlanes(r) || planesOut < mode.colourPlanes) return false;
  if (planesIn > 5 || planesOut > 5) return false;
  if (mode.sampleBytes == 2) {
    const bool aligned = (reinterpret_cast<uintptr_t>(r->inData) | reinterpret_cast<uintptr_t>(r->outData) |
                          static_cast<uintptr_t>(r->inRowBytes) | static_cast<uintptr_t>(r->outRowBytes)) % 2 == 0;
    if (!aligned) return false;
  }
  *in = PixelBlock{r->inRect.left, r->inRect.top, r->inRect.right, r->inRect.bottom, r->inRowBytes,
                   planesIn * mode.sampleBytes};
  *out = PixelBlock{r->outRect.left, r->outRect.top, r->outRect.right, r->outRect.bottom, r->outRowBytes,
                    planesOut * mode.sampleBytes};
  const bool inCoversOut = in->left <= out->left && in->top <= out->top && in->right >= out->right &&
                           in->bottom >= out->bottom && out->left < out->right && out->top < out->bottom;
  return inCoversOut && in->rowBytes >= static_cast<std::ptrdiff_t>(in->right - in->left) * in->pixelBytes &&
         out->rowBytes >= static_cast<std::ptrdiff_t>(out->right - out->left) * out->pixelBytes;
}

struct BandJob {
  ReliefPlan plan;
  const void* in;
  PixelBlock inBlock;
  void* out;
  PixelBlock outBlock;
};

void RunBandRows(void* context, int firstRow, int lastRow) {
  const BandJob* job = static_cast<const BandJob*>(context);
  ReliefRows(job->plan, job->in, job->inBlock, job->out, job->outBlock, firstRow, lastRow);
}

}  // namespace

bool HasTransparency(const FilterRecordView* record) {
  const int channels = ColourPlanes(record->imageMode);
  return channels > 0 && record->planes > channels;
}

int16_t PrepareFilter(FilterRecordView* record) {
  if (!record) return kResultBadParameters;
  if (ColourPlanes(record->imageMode) == 0) return kResultBadMode;
  record->bufferSpace = 0;
  return kResultOk;
}

int16_t StartFilter(FilterRecordView* record, const ReliefSettings& settings) {
  const int16_t check = CheckRecord(record, settings);
  if (check != kResultOk) {
    if (record) AskForNothing(record);
    return check;
  }
  AskForBand(record, record->filterRect.top, settings);
  return kResultOk;
}

int16_t ContinueFilter(FilterRecordView* record, const ReliefSettings& settings, RowRunner runner) {
  const int16_t check = CheckRecord(record, settings);
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
  BandJob job{};
  if (!HandedOver(record, &job.inBlock, &job.outBlock) ||
      !MakePlan(settings, record->imageMode, HasTransparency(record), &job.plan)) {
    AskForNothing(record);
    return kResultBadParameters;
  }
  job.in = record->inData;
  job.out = record->outData;
  runner(job.outBlock.top, job.outBlock.bottom, job.outBlock.right - job.outBlock.left, RunBandRows, &job);
  const int top = record->filterRect.top;
  if (record->reportProgress) record->reportProgress(job.outBlock.bottom - top, record->filterRect.bottom - top);
  AskForBand(record, job.outBlock.bottom, settings);
  return kResultOk;
}

int16_t FinishFilter(FilterRecordView* record) {
  if (record) AskForNothing(record);
  return kResultOk;
}

}  // namespace relief
