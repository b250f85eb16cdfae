#include "HostRecord.h"

#include "FilterRecord.h"
#include "ImageModes.h"

namespace relief {

namespace {

pi::FilterRecord* Raw(void* record) { return static_cast<pi::FilterRecord*>(record); }

Area ToArea(const pi::Rect16& r) { return Area{r.top, r.left, r.bottom, r.right}; }

pi::Rect16 ToRect(const Area& a) {
  return pi::Rect16{static_cast<int16_t>(a.top), static_cast<int16_t>(a.left), static_cast<int16_t>(a.bottom),
                    static_cast<int16_t>(a.right)};
}

constexpr pi::Fixed kRateOne = 0x10000;

// Filter cases hosts report: a layer with transparency the filter may
// change (4, 5) or not (6, 7).
bool LayerCase(int16_t filterCase) { return filterCase >= 4 && filterCase <= 7; }

// Whether the plane after the colour planes is the layer's transparency.
// Hosts that count their planes say so; one that counts nothing but names
// the layer case says so that way; one that says neither is taken at its
// plane count, as hosts before the counts were.
bool TransparencyOf(const pi::FilterRecord* r, int colourPlanes) {
  if (colourPlanes == 0 || r->planes <= colourPlanes) return false;
  const bool counted = r->inLayerPlanes > 0 || r->inTransparencyMask > 0 || r->inNonLayerPlanes > 0;
  if (counted) return r->inLayerPlanes >= colourPlanes && r->inTransparencyMask > 0;
  if (r->filterCase > 0) return LayerCase(r->filterCase);
  return true;
}

// advanceState asked for a sampled rectangle, with the fields it changes
// put back afterwards.
bool SampleThroughHost(void* context, const Area& scaled, int planes, int rate, const void** data,
                       std::ptrdiff_t* rowBytes) {
  pi::FilterRecord* r = Raw(context);
  if (!r || !r->advanceState || rate < 1 || planes < 1) return false;
  const pi::Rect16 inRect = r->inRect, outRect = r->outRect, maskRect = r->maskRect;
  const int16_t inLo = r->inLoPlane, inHi = r->inHiPlane, outLo = r->outLoPlane, outHi = r->outHiPlane;
  const pi::Fixed inputRate = r->inputRate;
  const pi::Rect16 asked = ToRect(scaled);
  r->inRect = asked;
  r->inLoPlane = 0;
  r->inHiPlane = static_cast<int16_t>(planes - 1);
  r->outRect = pi::Rect16{0, 0, 0, 0};
  r->maskRect = pi::Rect16{0, 0, 0, 0};
  r->inputRate = rate * kRateOne;
  const bool answered = r->advanceState() == 0;
  const bool sound = answered && r->inData && r->inRowBytes > 0 && r->inRect.top == asked.top &&
                     r->inRect.left == asked.left && r->inRect.bottom == asked.bottom &&
                     r->inRect.right == asked.right;
  *data = sound ? r->inData : nullptr;
  *rowBytes = sound ? r->inRowBytes : 0;
  r->inRect = inRect;
  r->outRect = outRect;
  r->maskRect = maskRect;
  r->inLoPlane = inLo;
  r->inHiPlane = inHi;
  r->outLoPlane = outLo;
  r->outHiPlane = outHi;
  r->inputRate = inputRate;
  return sound;
}

}  // namespace

HostImage HostRecord::Image() const {
  HostImage image;
  const pi::FilterRecord* r = Raw(record_);
  if (!r) return image;
  image.imageMode = r->imageMode;
  image.width = r->imageSize.h;
  image.height = r->imageSize.v;
  image.planes = r->planes;
  image.filter = ToArea(r->filterRect);
  image.maxSpace = r->maxSpace;
  image.transparency = TransparencyOf(r, DescribeMode(r->imageMode).colourPlanes);
  return image;
}

void HostRecord::Ask(const BandRequest& request) {
  pi::FilterRecord* r = Raw(record_);
  if (!r) return;
  const bool in = !IsEmpty(request.in) && request.inPlanes > 0;
  const bool out = !IsEmpty(request.out) && request.outPlanes > 0;
  r->inRect = in ? ToRect(request.in) : pi::Rect16{0, 0, 0, 0};
  r->outRect = out ? ToRect(request.out) : pi::Rect16{0, 0, 0, 0};
  r->maskRect = pi::Rect16{0, 0, 0, 0};
  r->inLoPlane = r->outLoPlane = 0;
  r->inHiPlane = static_cast<int16_t>(in ? request.inPlanes - 1 : 0);
  r->outHiPlane = static_cast<int16_t>(out ? request.outPlanes - 1 : 0);
}

HandedBand HostRecord::Handed() const {
  HandedBand band;
  const pi::FilterRecord* r = Raw(record_);
  if (!r) return band;
  band.in = r->inData;
  band.inArea = ToArea(r->inRect);
  band.inRowBytes = r->inRowBytes;
  band.inPlanes = r->inHiPlane - r->inLoPlane + 1;
  band.out = r->outData;
  band.outArea = ToArea(r->outRect);
  band.outRowBytes = r->outRowBytes;
  band.outPlanes = r->outHiPlane - r->outLoPlane + 1;
  return band;
}

bool HostRecord::AbortRequested() const {
  const pi::FilterRecord* r = Raw(record_);
  return r && r->abortProc && r->abortProc() != 0;
}

void HostRecord::Progress(int32_t done, int32_t total) const {
  const pi::FilterRecord* r = Raw(record_);
  if (r && r->progressProc) r->progressProc(done, total);
}

void HostRecord::NeedNoBufferSpace() {
  if (pi::FilterRecord* r = Raw(record_)) r->bufferSpace = 0;
}

HandleCalls HostRecord::Handles() const {
  HandleCalls calls;
  const pi::FilterRecord* r = Raw(record_);
  const pi::HandleProcs* procs = r ? r->handleProcs : nullptr;
  // The first six callbacks: the table must hold them all.
  if (!procs || procs->count < 6) return calls;
  calls.create = procs->newProc;
  calls.dispose = procs->disposeProc;
  calls.size = procs->getSizeProc;
  calls.resize = procs->setSizeProc;
  calls.lock = procs->lockProc;
  calls.unlock = procs->unlockProc;
  return calls.Offered() ? calls : HandleCalls{};
}

void* HostRecord::Parameters() const {
  const pi::FilterRecord* r = Raw(record_);
  return r ? r->parameters : nullptr;
}

void HostRecord::SetParameters(void* handle) {
  if (pi::FilterRecord* r = Raw(record_)) r->parameters = handle;
}

Scripting HostRecord::ScriptingParameters() const {
  Scripting scripting;
  const pi::FilterRecord* r = Raw(record_);
  const pi::DescriptorParameters* p = r ? r->descriptorParameters : nullptr;
  if (!p) return scripting;
  scripting.offered = true;
  scripting.playInfo = p->playInfo;
  scripting.descriptor = p->descriptor;
  // Reading needs the first five callbacks (up to getBoolean, the seventh
  // entry), writing the first four (up to putBoolean, the sixth).
  const pi::ReadDescriptorProcs* read = p->readDescriptorProcs;
  if (read && read->count >= 7) {
    scripting.calls.openRead = read->openReadDescriptorProc;
    scripting.calls.closeRead = read->closeReadDescriptorProc;
    scripting.calls.getKey = read->getKeyProc;
    scripting.calls.getInteger = read->getIntegerProc;
    scripting.calls.getBoolean = read->getBooleanProc;
  }
  const pi::WriteDescriptorProcs* write = p->writeDescriptorProcs;
  if (write && write->count >= 6) {
    scripting.calls.openWrite = write->openWriteDescriptorProc;
    scripting.calls.closeWrite = write->closeWriteDescriptorProc;
    scripting.calls.putInteger = write->putIntegerProc;
    scripting.calls.putBoolean = write->putBooleanProc;
  }
  return scripting;
}

void HostRecord::SetDescriptor(void* descriptor) {
  pi::FilterRecord* r = Raw(record_);
  if (r && r->descriptorParameters) r->descriptorParameters->descriptor = descriptor;
}

intptr_t HostRecord::HostWindow() const {
  const pi::FilterRecord* r = Raw(record_);
  return r && r->platformData ? r->platformData->hwnd : 0;
}

PixelDrawer HostRecord::Drawer() const {
  const pi::FilterRecord* r = Raw(record_);
  PixelDrawer drawer;
  drawer.proc = r ? reinterpret_cast<void*>(r->displayPixels) : nullptr;
  return drawer;
}

Sampler HostRecord::ImageSampler() {
  Sampler sampler;
  const pi::FilterRecord* r = Raw(record_);
  if (r && r->advanceState && r->samplingSupport > 0) {
    sampler.sample = SampleThroughHost;
    sampler.context = record_;
  }
  return sampler;
}

bool DrawRgb(const PixelDrawer& drawer, const uint8_t* rgb, int width, int height, int row, int column,
             void* deviceContext) {
  if (!drawer.Offered() || !rgb || width <= 0 || height <= 0) return false;
  pi::PixelMap map{};
  map.version = 1;
  map.bounds = pi::VRect{0, 0, height, width};
  map.imageMode = kModeRgb;
  map.rowBytes = width * 3;
  map.colBytes = 3;
  map.planeBytes = 1;
  map.baseAddr = const_cast<uint8_t*>(rgb);
  const pi::VRect whole = map.bounds;
  return reinterpret_cast<pi::DisplayPixelsProc>(drawer.proc)(&map, &whole, row, column, deviceContext) == 0;
}

intptr_t AboutOwner(const void* aboutRecord) {
  const auto* about = static_cast<const pi::AboutRecord*>(aboutRecord);
  return about && about->platformData ? about->platformData->hwnd : 0;
}

}  // namespace relief
