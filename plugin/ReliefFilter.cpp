#include "ReliefFilter.h"

#include "ImageModes.h"
#include "ReliefKernel.h"

namespace relief {

namespace {

// The band starting at firstRow; nothing when the rectangle is done.
BandRequest BandFrom(const HostImage& image, int firstRow, const ReliefSettings& settings) {
  const ModeInfo mode = DescribeMode(image.imageMode);
  const Area& filter = image.filter;
  const int planes = InputPlanes(image);
  const int rows = BandRows(filter.right - filter.left, planes * mode.sampleBytes, mode.colourPlanes * mode.sampleBytes,
                            image.maxSpace, settings.height);
  BandRequest request;
  if (!PlanBand(filter, image.width, image.height, firstRow, rows, &request.in, &request.out, settings.height))
    return BandRequest{};
  request.inPlanes = planes;
  request.outPlanes = mode.colourPlanes;
  return request;
}

int16_t Check(const HostImage& image, const ReliefSettings& settings) {
  if (!SettingsAreValid(settings)) return kResultBadParameters;
  const int channels = ColourPlanes(image.imageMode);
  if (channels == 0) return kResultBadMode;
  if (!GeometryIsSound(image.filter, image.width, image.height, image.planes, channels)) return kResultBadParameters;
  return kResultOk;
}

// The band as pixel blocks; false when the host's buffers cannot hold it.
bool Blocks(const HostImage& image, const HandedBand& band, PixelBlock* in, PixelBlock* out) {
  const ModeInfo mode = DescribeMode(image.imageMode);
  if (!band.in || !band.out || band.inPlanes < InputPlanes(image) || band.outPlanes < mode.colourPlanes) return false;
  if (band.inPlanes > 5 || band.outPlanes > 5) return false;
  if (mode.sampleBytes == 2) {
    const bool aligned = (reinterpret_cast<uintptr_t>(band.in) | reinterpret_cast<uintptr_t>(band.out) |
                          static_cast<uintptr_t>(band.inRowBytes) | static_cast<uintptr_t>(band.outRowBytes)) % 2 == 0;
    if (!aligned) return false;
  }
  *in = PixelBlock{band.inArea.left, band.inArea.top, band.inArea.right, band.inArea.bottom, band.inRowBytes,
                   band.inPlanes * mode.sampleBytes};
  *out = PixelBlock{band.outArea.left, band.outArea.top, band.outArea.right, band.outArea.bottom, band.outRowBytes,
                    band.outPlanes * mode.sampleBytes};
  const bool inCoversOut = in->left <= out->left && in->top <= out->top && in->right >= out->right &&
                           in->bottom >= out->bottom && out->left < out->right && out->top < out->bottom;
  const bool withinFilter = out->left >= image.filter.left && out->right <= image.filter.right &&
                            out->top >= image.filter.top && out->bottom <= image.filter.bottom;
  return inCoversOut && withinFilter &&
         in->rowBytes >= static_cast<std::ptrdiff_t>(in->right - in->left) * in->pixelBytes &&
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

int InputPlanes(const HostImage& image) {
  return ColourPlanes(image.imageMode) + (image.transparency ? 1 : 0);
}

int16_t PrepareFilter(const HostImage& image) {
  return ColourPlanes(image.imageMode) == 0 ? kResultBadMode : kResultOk;
}

int16_t StartFilter(const HostImage& image, const ReliefSettings& settings, BandRequest* first) {
  *first = BandRequest{};
  const int16_t check = Check(image, settings);
  if (check != kResultOk) return check;
  *first = BandFrom(image, image.filter.top, settings);
  return kResultOk;
}

int16_t ContinueFilter(const HostImage& image, const HandedBand& band, const ReliefSettings& settings,
                       RowRunner runner, BandRequest* next, int* doneRows) {
  *next = BandRequest{};
  const int16_t check = Check(image, settings);
  if (check != kResultOk) return check;
  if (IsEmpty(band.outArea)) return kResultOk;
  BandJob job{};
  if (!Blocks(image, band, &job.inBlock, &job.outBlock) ||
      !MakePlan(settings, image.imageMode, image.transparency, &job.plan))
    return kResultBadParameters;
  job.in = band.in;
  job.out = band.out;
  // The integer sums at unit weights (the default) do a band in less time
  // than some hosts take to start a thread: they stay on the host's thread.
  const RowRunner run = job.plan.unitWeights && !image.transparency ? RunRowsHere : runner;
  run(job.outBlock.top, job.outBlock.bottom, job.outBlock.right - job.outBlock.left, RunBandRows, &job);
  if (doneRows) *doneRows = job.outBlock.bottom - image.filter.top;
  *next = BandFrom(image, job.outBlock.bottom, settings);
  return kResultOk;
}

}  // namespace relief
