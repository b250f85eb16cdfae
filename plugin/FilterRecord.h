#pragma once
// The plug-in interface's structures as hosts on Windows lay them out: the
// filter record, the callback tables it points to, the pixel map for
// displayPixels and the About record. The records are packed to 4 bytes,
// so in a 64-bit host a pointer after a 32-bit field is not 8-aligned; the
// callback tables and the pixel map are laid out naturally (their pointers
// 8-aligned in a 64-bit host). Every field is declared, used or not, so that
// each one lies where hosts put it; only HostRecord.cpp reads or writes
// them, and the rest of the filter gets plain values from it.
// No <windows.h> here: the layout is checked natively as well.
#include <cstddef>
#include <cstdint>

namespace relief {
namespace pi {

using Boolean = unsigned char;
using Fixed = int32_t;  // 16.16
using Handle = void*;
using OSErr = int16_t;

// Callbacks use the platform's default C calling convention.
using TestAbortProc = Boolean (*)();
using ProgressProc = void (*)(int32_t done, int32_t total);
using AdvanceStateProc = OSErr (*)();

struct Rect16 {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

struct Point16 {
  int16_t v;
  int16_t h;
};

struct RgbColor16 {
  uint16_t red;
  uint16_t green;
  uint16_t blue;
};

// The monitor the host shows the image on: gamma, the x and y of red,
// green, blue and white, and the ambient light.
struct Monitor {
  Fixed gamma;
  Fixed redX, redY;
  Fixed greenX, greenY;
  Fixed blueX, blueY;
  Fixed whiteX, whiteY;
  Fixed ambient;
};

// The host's handle callbacks. count says how many of them follow.
struct HandleProcs {
  int16_t version;
  int16_t count;
  Handle (*newProc)(int32_t size);
  void (*disposeProc)(Handle handle);
  int32_t (*getSizeProc)(Handle handle);
  OSErr (*setSizeProc)(Handle handle, int32_t size);
  void* (*lockProc)(Handle handle, Boolean moveHigh);
  void (*unlockProc)(Handle handle);
  void (*recoverSpaceProc)(int32_t size);
  void (*disposeRegularHandleProc)(Handle handle);
};

// What displayPixels draws from.
struct VRect {
  int32_t top;
  int32_t left;
  int32_t bottom;
  int32_t right;
};

struct PixelMap {
  int32_t version;  // 1: the fields up to maskPhaseCol
  VRect bounds;
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
using DisplayPixelsProc = OSErr (*)(const PixelMap* source, const VRect* sourceRect, int32_t dstRow,
                                    int32_t dstCol, void* platformContext);

// Scripting: the host's callbacks for reading and writing descriptors.
using ReadDescriptor = void*;
using WriteDescriptor = void*;
using DescriptorHandle = void*;

struct ReadDescriptorProcs {
  int16_t version;
  int16_t count;
  ReadDescriptor (*openReadDescriptorProc)(DescriptorHandle descriptor, uint32_t* keys);
  OSErr (*closeReadDescriptorProc)(ReadDescriptor reader);
  Boolean (*getKeyProc)(ReadDescriptor reader, uint32_t* key, uint32_t* type, int32_t* flags);
  OSErr (*getIntegerProc)(ReadDescriptor reader, int32_t* value);
  void* getFloatProc;
  void* getUnitFloatProc;
  OSErr (*getBooleanProc)(ReadDescriptor reader, Boolean* value);
  void* getTextProc;
  void* getAliasProc;
  void* getEnumeratedProc;
  void* getClassProc;
  void* getSimpleReferenceProc;
  void* getObjectProc;
  void* getCountProc;
  void* getStringProc;
  void* getPinnedIntegerProc;
  void* getPinnedFloatProc;
  void* getPinnedUnitFloatProc;
};

struct WriteDescriptorProcs {
  int16_t version;
  int16_t count;
  WriteDescriptor (*openWriteDescriptorProc)();
  OSErr (*closeWriteDescriptorProc)(WriteDescriptor writer, DescriptorHandle* descriptor);
  OSErr (*putIntegerProc)(WriteDescriptor writer, uint32_t key, int32_t value);
  void* putFloatProc;
  void* putUnitFloatProc;
  OSErr (*putBooleanProc)(WriteDescriptor writer, uint32_t key, Boolean value);
  void* putTextProc;
  void* putAliasProc;
  void* putEnumeratedProc;
  void* putClassProc;
  void* putSimpleReferenceProc;
  void* putObjectProc;
  void* putCountProc;
  void* putStringProc;
  void* putScopedClassProc;
  void* putScopedObjectProc;
};

// What descriptorParameters points to.
struct DescriptorParameters {
  int16_t version;
  int16_t playInfo;  // 0: run without the dialog, 1: show it, 2: silent
  int16_t recordInfo;
  DescriptorHandle descriptor;
  WriteDescriptorProcs* writeDescriptorProcs;
  ReadDescriptorProcs* readDescriptorProcs;
};

// What platformData points to on Windows: the host's main window.
struct PlatformData {
  intptr_t hwnd;
};

#pragma pack(push, 4)

struct FilterRecord {
  int32_t serialNumber;
  TestAbortProc abortProc;
  ProgressProc progressProc;
  Handle parameters;
  Point16 imageSize;
  int16_t planes;
  Rect16 filterRect;
  RgbColor16 background;
  RgbColor16 foreground;
  int32_t maxSpace;
  int32_t bufferSpace;
  Rect16 inRect;
  int16_t inLoPlane;
  int16_t inHiPlane;
  Rect16 outRect;
  int16_t outLoPlane;
  int16_t outHiPlane;
  void* inData;
  int32_t inRowBytes;
  void* outData;
  int32_t outRowBytes;
  Boolean isFloating;
  Boolean haveMask;
  Boolean autoMask;
  Rect16 maskRect;
  void* maskData;
  int32_t maskRowBytes;
  unsigned char backColor[4];
  unsigned char foreColor[4];
  uint32_t hostSig;
  void* hostProcs;
  int16_t imageMode;
  Fixed imageHRes;
  Fixed imageVRes;
  Point16 floatCoord;
  Point16 wholeSize;
  Monitor monitor;
  PlatformData* platformData;
  void* bufferProcs;
  void* resourceProcs;
  void* processEvent;
  DisplayPixelsProc displayPixels;
  HandleProcs* handleProcs;
  // Fields of later hosts from here on.
  Boolean supportsDummyChannels;
  Boolean supportsAlternateLayouts;
  int16_t wantLayout;
  int16_t filterCase;
  int16_t dummyPlaneValue;
  void* premiereHook;
  AdvanceStateProc advanceState;
  Boolean supportsAbsolute;
  Boolean wantsAbsolute;
  void* getPropertyObsolete;
  Boolean cannotUndo;
  Boolean supportsPadding;
  int16_t inputPadding;
  int16_t outputPadding;
  int16_t maskPadding;
  char samplingSupport;  // 0 none, 1 integral rates, 2 fractional
  char reservedByte;
  Fixed inputRate;
  Fixed maskRate;
  void* colorServices;
  int16_t inLayerPlanes;
  int16_t inTransparencyMask;
  int16_t inLayerMasks;
  int16_t inInvertedLayerMasks;
  int16_t inNonLayerPlanes;
  int16_t outLayerPlanes;
  int16_t outTransparencyMask;
  int16_t outLayerMasks;
  int16_t outInvertedLayerMasks;
  int16_t outNonLayerPlanes;
  int16_t absLayerPlanes;
  int16_t absTransparencyMask;
  int16_t absLayerMasks;
  int16_t absInvertedLayerMasks;
  int16_t absNonLayerPlanes;
  int16_t inPreDummyPlanes;
  int16_t inPostDummyPlanes;
  int16_t outPreDummyPlanes;
  int16_t outPostDummyPlanes;
  int32_t inColumnBytes;
  int32_t inPlaneBytes;
  int32_t outColumnBytes;
  int32_t outPlaneBytes;
  void* imageServicesProcs;
  void* propertyProcs;
  int16_t inTileHeight;
  int16_t inTileWidth;
  Point16 inTileOrigin;
  int16_t absTileHeight;
  int16_t absTileWidth;
  Point16 absTileOrigin;
  int16_t outTileHeight;
  int16_t outTileWidth;
  Point16 outTileOrigin;
  int16_t maskTileHeight;
  int16_t maskTileWidth;
  Point16 maskTileOrigin;
  DescriptorParameters* descriptorParameters;
  void* errorString;
  void* channelPortProcs;
  void* documentInfo;
  void* sSPBasic;
  void* plugInRef;
  int32_t depth;
  Handle iCCprofileData;
  int32_t iCCprofileSize;
  int32_t canUseICCProfiles;
  char reserved[54];  // later hosts' fields
};

// With the About selector the record is this one, not the filter record.
struct AboutRecord {
  PlatformData* platformData;
  void* sSPBasic;
  void* plugInRef;
  char reserved[244];
};

#pragma pack(pop)

}  // namespace pi
}  // namespace relief
