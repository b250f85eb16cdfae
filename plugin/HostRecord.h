#pragma once
// The host's record, read and written in this one place: the rest of the
// filter gets plain values from it (the image's geometry and planes, the
// bands handed over, the callbacks it needs as plain tables) and hands back
// plain values (the band it asks for next, the settings handle, the
// recorded descriptor). A field the filter does not use is never read, nor
// a callback beyond the count its table gives.
#include <cstddef>
#include <cstdint>

#include "FilterBands.h"

namespace relief {

// Selectors the host passes to the entry point.
enum Selector : int16_t {
  kSelectAbout = 0,
  kSelectParameters = 1,
  kSelectPrepare = 2,
  kSelectStart = 3,
  kSelectContinue = 4,
  kSelectFinish = 5,
};

// Result codes written to *result.
enum ResultCode : int16_t {
  kResultOk = 0,
  kResultOutOfMemory = -108,
  kResultUserCancelled = -128,
  kResultBadParameters = -30100,
  kResultBadMode = -30101,
};

// The image the host asks the filter to work on.
struct HostImage {
  int imageMode = 0;
  int width = 0;
  int height = 0;
  int planes = 0;           // planes the host holds for each pixel
  Area filter{};            // the rectangle to filter
  int32_t maxSpace = 0;     // bytes the host expects the filter to ask for at once; 0 unknown
  bool transparency = false;  // the plane after the colour planes is the layer's transparency
};

// The band the filter asks for: planes 0..inPlanes-1 of `in`, 0..outPlanes-1
// of `out`. Empty rectangles ask for nothing.
struct BandRequest {
  Area in{};
  Area out{};
  int inPlanes = 0;
  int outPlanes = 0;
};

// What the host handed over for the band asked for.
struct HandedBand {
  const void* in = nullptr;
  Area inArea{};
  std::ptrdiff_t inRowBytes = 0;
  int inPlanes = 0;
  void* out = nullptr;
  Area outArea{};
  std::ptrdiff_t outRowBytes = 0;
  int outPlanes = 0;
};

// The host's handle callbacks, when it offers all that the filter uses.
struct HandleCalls {
  void* (*create)(int32_t size) = nullptr;
  void (*dispose)(void* handle) = nullptr;
  int32_t (*size)(void* handle) = nullptr;
  int16_t (*resize)(void* handle, int32_t size) = nullptr;
  void* (*lock)(void* handle, unsigned char moveHigh) = nullptr;
  void (*unlock)(void* handle) = nullptr;
  bool Offered() const { return create && dispose && size && resize && lock && unlock; }
};

// Scripting: the descriptor of a step being played back or recorded, and
// the host's callbacks for reading and writing it.
enum DialogPlay : int16_t {
  kPlayDontDisplay = 0,  // a recorded step run without its dialog
  kPlayDisplay = 1,
  kPlaySilent = 2,
};

struct DescriptorCalls {
  void* (*openRead)(void* descriptor, uint32_t* keys) = nullptr;
  int16_t (*closeRead)(void* reader) = nullptr;
  unsigned char (*getKey)(void* reader, uint32_t* key, uint32_t* type, int32_t* flags) = nullptr;
  int16_t (*getInteger)(void* reader, int32_t* value) = nullptr;
  int16_t (*getBoolean)(void* reader, unsigned char* value) = nullptr;
  void* (*openWrite)() = nullptr;
  int16_t (*closeWrite)(void* writer, void** descriptor) = nullptr;
  int16_t (*putInteger)(void* writer, uint32_t key, int32_t value) = nullptr;
  int16_t (*putBoolean)(void* writer, uint32_t key, unsigned char value) = nullptr;
  bool CanRead() const { return openRead && closeRead && getKey && getInteger && getBoolean; }
  bool CanWrite() const { return openWrite && closeWrite && putInteger && putBoolean; }
};

struct Scripting {
  bool offered = false;  // the host offers scripting parameters at all
  int16_t playInfo = kPlayDisplay;
  void* descriptor = nullptr;
  DescriptorCalls calls;
};

// A reduced copy of the image the host samples for the filter: the
// rectangle in sampled coordinates, every rate-th pixel of every rate-th
// row, planes 0..planes-1. On success *data and *rowBytes say where the
// host put it (valid until the next call to the host).
struct Sampler {
  bool (*sample)(void* context, const Area& scaled, int planes, int rate, const void** data,
                 std::ptrdiff_t* rowBytes) = nullptr;
  void* context = nullptr;
  bool Offered() const { return sample != nullptr; }
};

// Drawing interleaved 8-bit RGB the way the host draws its image, at row,
// column of the device context; false when the host offers no drawing or
// it failed.
struct PixelDrawer {
  void* proc = nullptr;
  bool Offered() const { return proc != nullptr; }
};
bool DrawRgb(const PixelDrawer& drawer, const uint8_t* rgb, int width, int height, int row, int column,
             void* deviceContext);

class HostRecord {
 public:
  explicit HostRecord(void* record) : record_(record) {}
  bool Present() const { return record_ != nullptr; }

  HostImage Image() const;

  // The band to ask for next; an empty request asks for nothing more.
  void Ask(const BandRequest& request);
  void AskForNothing() { Ask(BandRequest{}); }
  HandedBand Handed() const;

  bool AbortRequested() const;
  void Progress(int32_t done, int32_t total) const;
  // The filter asks for no memory of its own beyond the host's buffers.
  void NeedNoBufferSpace();

  HandleCalls Handles() const;
  void* Parameters() const;
  void SetParameters(void* handle);

  Scripting ScriptingParameters() const;
  void SetDescriptor(void* descriptor);

  intptr_t HostWindow() const;
  PixelDrawer Drawer() const;
  // advanceState with sampling; every field the request changes is put back
  // before it returns.
  Sampler ImageSampler();

 private:
  void* record_;
};

// The host's window named in the About selector's record, or 0.
intptr_t AboutOwner(const void* aboutRecord);

}  // namespace relief
