// The filter's declaration of the host's structures against the offsets the
// interface documents (tests/plugin/InterfaceOffsets.h), for the
// architecture the test is built for: checked when it is compiled for
// either, and reported field by field when it runs.
#include <gtest/gtest.h>

#include <cstddef>

#include "plugin/FilterRecord.h"
#include "tests/plugin/InterfaceOffsets.h"

using namespace relief::pi;

namespace {

struct Field {
  const char* name;
  std::size_t documented, declared;
};

#define AT(type, field, documented) Field{#type "." #field, documented, offsetof(type, field)}
#define ENTRY(type, field, n) Field{#type "." #field, offsets::TableEntry(n), offsetof(type, field)}

constexpr Field kFields[] = {
    AT(FilterRecord, abortProc, offsets::kAbortProc),
    AT(FilterRecord, progressProc, offsets::kProgressProc),
    AT(FilterRecord, parameters, offsets::kParameters),
    AT(FilterRecord, imageSize, offsets::kImageSize),
    AT(FilterRecord, planes, offsets::kPlanes),
    AT(FilterRecord, filterRect, offsets::kFilterRect),
    AT(FilterRecord, background, offsets::kBackground),
    AT(FilterRecord, maxSpace, offsets::kMaxSpace),
    AT(FilterRecord, bufferSpace, offsets::kBufferSpace),
    AT(FilterRecord, inRect, offsets::kInRect),
    AT(FilterRecord, inLoPlane, offsets::kInLoPlane),
    AT(FilterRecord, inHiPlane, offsets::kInHiPlane),
    AT(FilterRecord, outRect, offsets::kOutRect),
    AT(FilterRecord, outLoPlane, offsets::kOutLoPlane),
    AT(FilterRecord, outHiPlane, offsets::kOutHiPlane),
    AT(FilterRecord, inData, offsets::kInData),
    AT(FilterRecord, inRowBytes, offsets::kInRowBytes),
    AT(FilterRecord, outData, offsets::kOutData),
    AT(FilterRecord, outRowBytes, offsets::kOutRowBytes),
    AT(FilterRecord, isFloating, offsets::kIsFloating),
    AT(FilterRecord, autoMask, offsets::kAutoMask),
    AT(FilterRecord, maskRect, offsets::kMaskRect),
    AT(FilterRecord, maskData, offsets::kMaskData),
    AT(FilterRecord, maskRowBytes, offsets::kMaskRowBytes),
    AT(FilterRecord, hostSig, offsets::kHostSig),
    AT(FilterRecord, hostProcs, offsets::kHostProcs),
    AT(FilterRecord, imageMode, offsets::kImageMode),
    AT(FilterRecord, imageHRes, offsets::kImageHRes),
    AT(FilterRecord, wholeSize, offsets::kWholeSize),
    AT(FilterRecord, monitor, offsets::kMonitor),
    AT(FilterRecord, platformData, offsets::kPlatformData),
    AT(FilterRecord, bufferProcs, offsets::kBufferProcs),
    AT(FilterRecord, processEvent, offsets::kProcessEvent),
    AT(FilterRecord, displayPixels, offsets::kDisplayPixels),
    AT(FilterRecord, handleProcs, offsets::kHandleProcs),
    AT(FilterRecord, filterCase, offsets::kFilterCase),
    AT(FilterRecord, premiereHook, offsets::kPremiereHook),
    AT(FilterRecord, advanceState, offsets::kAdvanceState),
    AT(FilterRecord, getPropertyObsolete, offsets::kGetPropertyObsolete),
    AT(FilterRecord, samplingSupport, offsets::kSamplingSupport),
    AT(FilterRecord, inputRate, offsets::kInputRate),
    AT(FilterRecord, maskRate, offsets::kMaskRate),
    AT(FilterRecord, colorServices, offsets::kColorServices),
    AT(FilterRecord, inLayerPlanes, offsets::kInLayerPlanes),
    AT(FilterRecord, inTransparencyMask, offsets::kInTransparencyMask),
    AT(FilterRecord, inNonLayerPlanes, offsets::kInNonLayerPlanes),
    AT(FilterRecord, inColumnBytes, offsets::kInColumnBytes),
    AT(FilterRecord, imageServicesProcs, offsets::kImageServicesProcs),
    AT(FilterRecord, propertyProcs, offsets::kPropertyProcs),
    AT(FilterRecord, descriptorParameters, offsets::kDescriptorParameters),
    AT(FilterRecord, errorString, offsets::kErrorString),
    AT(FilterRecord, documentInfo, offsets::kDocumentInfo),
    AT(FilterRecord, sSPBasic, offsets::kSSPBasic),
    AT(FilterRecord, plugInRef, offsets::kPlugInRef),
    AT(FilterRecord, depth, offsets::kDepth),
    Field{"size of FilterRecord", offsets::kRecordSize, sizeof(FilterRecord)},
    AT(AboutRecord, platformData, offsets::kAboutPlatformData),
    AT(AboutRecord, plugInRef, offsets::kAboutPlugInRef),
    AT(PlatformData, hwnd, offsets::kPlatformHwnd),
    AT(HandleProcs, count, offsets::kTableCount),
    ENTRY(HandleProcs, newProc, 0),
    ENTRY(HandleProcs, lockProc, 4),
    ENTRY(HandleProcs, unlockProc, 5),
    ENTRY(HandleProcs, disposeRegularHandleProc, 7),
    AT(DescriptorParameters, playInfo, offsets::kDescriptorPlayInfo),
    AT(DescriptorParameters, descriptor, offsets::kDescriptorHandle),
    AT(DescriptorParameters, writeDescriptorProcs, offsets::kDescriptorWriteProcs),
    AT(DescriptorParameters, readDescriptorProcs, offsets::kDescriptorReadProcs),
    Field{"size of DescriptorParameters", offsets::kDescriptorParametersSize, sizeof(DescriptorParameters)},
    ENTRY(ReadDescriptorProcs, openReadDescriptorProc, 0),
    ENTRY(ReadDescriptorProcs, getIntegerProc, 3),
    ENTRY(ReadDescriptorProcs, getBooleanProc, 6),
    ENTRY(WriteDescriptorProcs, openWriteDescriptorProc, 0),
    ENTRY(WriteDescriptorProcs, putIntegerProc, 2),
    ENTRY(WriteDescriptorProcs, putBooleanProc, 5),
    AT(PixelMap, bounds, offsets::kMapBounds),
    AT(PixelMap, imageMode, offsets::kMapImageMode),
    AT(PixelMap, planeBytes, offsets::kMapPlaneBytes),
    AT(PixelMap, baseAddr, offsets::kMapBaseAddr),
};

constexpr bool AllAsDocumented() {
  for (const Field& f : kFields)
    if (f.declared != f.documented) return false;
  return true;
}
static_assert(AllAsDocumented(), "a structure differs from the interface's layout (the test names which)");

TEST(InterfaceLayout, EveryFieldWhereTheInterfacePutsIt) {
  for (const Field& f : kFields)
    EXPECT_EQ(f.documented, f.declared) << f.name << " (" << sizeof(void*) * 8 << "-bit)";
}

}  // namespace
