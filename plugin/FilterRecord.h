#pragma once
// The parts of the host's filter record that iRelief reads or writes, and the
// record the host passes with the About selector. Hosts on Windows lay these
// out packed to 4 bytes, so in a 64-bit host a pointer that follows a 32-bit
// field is not 8-aligned. Only the leading part of the record is described;
// hosts pass a longer record, of which the filter never touches the rest.
// No <windows.h> here: the layout is checked natively as well.
#include <cstddef>
#include <cstdint>

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
  kResultUserCancelled = -128,
  kResultBadParameters = -30100,
  kResultBadMode = -30101,
};

// Image modes the host reports in the record.
enum ImageMode : int16_t {
  kModeBitmap = 0,
  kModeGray = 1,
  kModeIndexed = 2,
  kModeRgb = 3,
  kModeCmyk = 4,
  kModeMultichannel = 7,
  kModeLab = 9,
  kModeGray16 = 10,
  kModeRgb48 = 11,
  kModeLab48 = 12,
  kModeCmyk64 = 13,
  kModeDeepMultichannel = 14,
  kModeDuotone16 = 15,
};

// Callbacks use the platform's default C calling convention.
using AbortTest = unsigned char (*)();
using ProgressReport = void (*)(int32_t done, int32_t total);

#pragma pack(push, 4)

// A rectangle in image pixels; right and bottom are exclusive.
struct HostRect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

// A point, vertical coordinate first.
struct HostPoint {
  int16_t v;
  int16_t h;
};

struct FilterRecordView {
  int32_t serialNumber;
  AbortTest testAbort;
  ProgressReport reportProgress;
  void* parameters;
  HostPoint imageSize;
  int16_t planes;
  HostRect filterRect;
  uint16_t background[3];
  uint16_t foreground[3];
  int32_t maxSpace;
  int32_t bufferSpace;
  HostRect inRect;
  int16_t inLoPlane;
  int16_t inHiPlane;
  HostRect outRect;
  int16_t outLoPlane;
  int16_t outHiPlane;
  void* inData;
  int32_t inRowBytes;
  void* outData;
  int32_t outRowBytes;
  unsigned char isFloating;
  unsigned char haveMask;
  unsigned char autoMask;
  HostRect maskRect;
  void* maskData;
  int32_t maskRowBytes;
  unsigned char backColor[4];
  unsigned char foreColor[4];
  uint32_t hostSignature;
  void* hostProc;
  int16_t imageMode;
  int32_t horizontalResolution;
  int32_t verticalResolution;
  HostPoint floatCoord;
  HostPoint wholeSize;
  int32_t monitor[12];
  void* platformData;
  void* bufferProcs;
  void* resourceProcs;
  void* processEvent;
  void* displayPixels;
  void* handleProcs;
  // From here on, fields of later hosts; a host that predates them passes a
  // record too short to hold them, which the filter tells by a null
  // descriptorParameters only when the host fills the rest with zeros.
  unsigned char supportsDummyChannels;
  unsigned char supportsAlternateLayouts;
  int16_t wantLayout;
  int16_t filterCase;
  int16_t dummyPlaneValue;
  void* premiereHook;
  void* advanceState;
  unsigned char supportsAbsolute;
  unsigned char wantsAbsolute;
  void* getPropertyObsolete;
  unsigned char cannotUndo;
  unsigned char supportsPadding;
  int16_t inputPadding;
  int16_t outputPadding;
  int16_t maskPadding;
  char samplingSupport;
  char reservedByte;
  int32_t inputRate;
  int32_t maskRate;
  void* colorServices;
  int16_t layerPlaneCounts[19];  // in/out/abs layer, transparency, mask and dummy planes
  int32_t inColumnBytes;
  int32_t inPlaneBytes;
  int32_t outColumnBytes;
  int32_t outPlaneBytes;
  void* imageServicesProcs;
  void* propertyProcs;
  int16_t tileFields[16];  // in, abs, out and mask tile sizes and origins
  void* descriptorParameters;
};

// The host's handle callbacks (handleProcs), as far as the filter uses them.
// Handles are the host's own; only these callbacks may touch them.
struct HandleProcsView {
  int16_t version;
  int16_t count;  // callbacks that follow
  void* (*newHandle)(int32_t size);
  void (*disposeHandle)(void* handle);
  int32_t (*handleSize)(void* handle);
  int16_t (*setHandleSize)(void* handle, int32_t size);
  void* (*lockHandle)(void* handle, unsigned char moveHigh);
  void (*unlockHandle)(void* handle);
};

// What displayPixels draws from: interleaved samples in a rectangle.
struct VRectView {
  int32_t top;
  int32_t left;
  int32_t bottom;
  int32_t right;
};

struct PixelMapView {
  int32_t version;  // 1: the fields up to maskPhaseCol
  VRectView bounds;
  int32_t imageMode;
  int32_t rowBytes;
  int32_t colBytes;
  int32_t planeBytes;
  void* baseAddr;
  void* mat;
  void* masks;
  int32_t maskPhaseRow;
  int32_t maskPhaseCol;
};

// Draws part of a pixel map at dstRow, dstCol of the device context
// (platformContext) the way the host draws its own image; 0 when done.
using DisplayPixelsProc = int16_t (*)(const PixelMapView* source, const VRectView* sourceRect, int32_t dstRow,
                                      int32_t dstCol, void* platformContext);

// Scripting: what descriptorParameters points to, and the host's callbacks
// for reading and writing descriptors (as far as the filter uses them).
enum DialogPlay : int16_t {
  kPlayDontDisplay = 0,  // a recorded step run without its dialog
  kPlayDisplay = 1,
  kPlaySilent = 2,
};

struct ReadDescriptorProcsView {
  int16_t version;
  int16_t count;
  void* (*open)(void* descriptor, uint32_t* keys);
  int16_t (*close)(void* reader);
  unsigned char (*getKey)(void* reader, uint32_t* key, uint32_t* type, int32_t* flags);
  int16_t (*getInteger)(void* reader, int32_t* value);
  void* getFloat;
  void* getUnitFloat;
  int16_t (*getBoolean)(void* reader, unsigned char* value);
};

struct WriteDescriptorProcsView {
  int16_t version;
  int16_t count;
  void* (*open)();
  int16_t (*close)(void* writer, void** descriptor);
  int16_t (*putInteger)(void* writer, uint32_t key, int32_t value);
  void* putFloat;
  void* putUnitFloat;
  int16_t (*putBoolean)(void* writer, uint32_t key, unsigned char value);
};

struct DescriptorParametersView {
  int16_t version;
  int16_t playInfo;
  int16_t recordInfo;
  void* descriptor;
  WriteDescriptorProcsView* writeProcs;
  ReadDescriptorProcsView* readProcs;
};

// With the About selector the record is this one, not the filter record.
struct AboutRecordView {
  void* platformData;
};

// What platformData points to on Windows: the host's main window.
struct PlatformDataView {
  intptr_t hwnd;
};

#pragma pack(pop)

// Offsets as hosts use them: {32-bit host, 64-bit host}.
constexpr std::size_t ForHost(std::size_t offset32, std::size_t offset64) {
  return sizeof(void*) == 8 ? offset64 : offset32;
}

static_assert(sizeof(HostRect) == 8 && sizeof(HostPoint) == 4, "rectangles and points are 16-bit");
static_assert(offsetof(FilterRecordView, testAbort) == ForHost(4, 4), "abort callback");
static_assert(offsetof(FilterRecordView, reportProgress) == ForHost(8, 12), "progress callback");
static_assert(offsetof(FilterRecordView, parameters) == ForHost(12, 20), "parameters");
static_assert(offsetof(FilterRecordView, imageSize) == ForHost(16, 28), "image size");
static_assert(offsetof(FilterRecordView, planes) == ForHost(20, 32), "planes");
static_assert(offsetof(FilterRecordView, filterRect) == ForHost(22, 34), "filter rectangle");
static_assert(offsetof(FilterRecordView, maxSpace) == ForHost(44, 56), "max space");
static_assert(offsetof(FilterRecordView, bufferSpace) == ForHost(48, 60), "buffer space");
static_assert(offsetof(FilterRecordView, inRect) == ForHost(52, 64), "input rectangle");
static_assert(offsetof(FilterRecordView, inLoPlane) == ForHost(60, 72), "first input plane");
static_assert(offsetof(FilterRecordView, inHiPlane) == ForHost(62, 74), "last input plane");
static_assert(offsetof(FilterRecordView, outRect) == ForHost(64, 76), "output rectangle");
static_assert(offsetof(FilterRecordView, outLoPlane) == ForHost(72, 84), "first output plane");
static_assert(offsetof(FilterRecordView, outHiPlane) == ForHost(74, 86), "last output plane");
static_assert(offsetof(FilterRecordView, inData) == ForHost(76, 88), "input data");
static_assert(offsetof(FilterRecordView, inRowBytes) == ForHost(80, 96), "input row bytes");
static_assert(offsetof(FilterRecordView, outData) == ForHost(84, 100), "output data");
static_assert(offsetof(FilterRecordView, outRowBytes) == ForHost(88, 108), "output row bytes");
static_assert(offsetof(FilterRecordView, haveMask) == ForHost(93, 113), "have mask");
static_assert(offsetof(FilterRecordView, autoMask) == ForHost(94, 114), "auto mask");
static_assert(offsetof(FilterRecordView, maskRect) == ForHost(96, 116), "mask rectangle");
static_assert(offsetof(FilterRecordView, maskData) == ForHost(104, 124), "mask data");
static_assert(offsetof(FilterRecordView, hostSignature) == ForHost(120, 144), "host signature");
static_assert(offsetof(FilterRecordView, imageMode) == ForHost(128, 156), "image mode");
static_assert(offsetof(FilterRecordView, platformData) == ForHost(196, 224), "platform data");
static_assert(offsetof(FilterRecordView, handleProcs) == ForHost(216, 264), "handle callbacks");
static_assert(offsetof(FilterRecordView, advanceState) == ForHost(232, 288), "advance state");
static_assert(offsetof(FilterRecordView, colorServices) == ForHost(264, 328), "colour services");
static_assert(offsetof(FilterRecordView, inColumnBytes) == ForHost(308, 376), "column bytes");
static_assert(offsetof(FilterRecordView, descriptorParameters) == ForHost(364, 440), "descriptor parameters");
static_assert(sizeof(FilterRecordView) == ForHost(368, 448), "described part of the record");
static_assert(offsetof(HandleProcsView, newHandle) == 4, "first handle callback");
static_assert(offsetof(HandleProcsView, unlockHandle) == ForHost(24, 44), "unlock callback");
static_assert(offsetof(PixelMapView, baseAddr) == ForHost(36, 36), "pixel map samples");
static_assert(offsetof(DescriptorParametersView, descriptor) == ForHost(8, 8), "descriptor");
static_assert(offsetof(ReadDescriptorProcsView, getBoolean) == ForHost(28, 52), "boolean reader");
static_assert(offsetof(WriteDescriptorProcsView, putBoolean) == ForHost(24, 44), "boolean writer");
static_assert(offsetof(AboutRecordView, platformData) == 0, "about record starts with platform data");
static_assert(sizeof(PlatformDataView) == sizeof(void*), "platform data holds one window handle");

}  // namespace relief
