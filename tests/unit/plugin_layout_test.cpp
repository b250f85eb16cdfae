// The plug-in's declaration of the host's structures against the offsets the
// interface documents for 32-bit and 64-bit hosts on Windows (the numbers
// below are the documented ones, not taken from our header). Checked when
// the test is compiled for either architecture, and reported when it runs.
#include <gtest/gtest.h>

#include <cstddef>

#include "plugin/FilterRecord.h"

using namespace relief::pi;

namespace {

struct Documented {
  const char* field;
  std::size_t offset32, offset64, declared;
};

constexpr std::size_t For(std::size_t offset32, std::size_t offset64) {
  return sizeof(void*) == 8 ? offset64 : offset32;
}

#define AT(type, field, o32, o64) Documented{#type "." #field, o32, o64, offsetof(type, field)}
#define SIZE(type, s32, s64) Documented{"size of " #type, s32, s64, sizeof(type)}

constexpr Documented kLayout[] = {
    AT(FilterRecord, abortProc, 4, 4),
    AT(FilterRecord, progressProc, 8, 12),
    AT(FilterRecord, parameters, 12, 20),
    AT(FilterRecord, imageSize, 16, 28),
    AT(FilterRecord, planes, 20, 32),
    AT(FilterRecord, filterRect, 22, 34),
    AT(FilterRecord, maxSpace, 44, 56),
    AT(FilterRecord, inRect, 52, 64),
    AT(FilterRecord, outHiPlane, 74, 86),
    AT(FilterRecord, inData, 76, 88),
    AT(FilterRecord, inRowBytes, 80, 96),
    AT(FilterRecord, outData, 84, 100),
    AT(FilterRecord, outRowBytes, 88, 108),
    AT(FilterRecord, maskRect, 96, 116),
    AT(FilterRecord, hostSig, 120, 144),
    AT(FilterRecord, imageMode, 128, 156),
    AT(FilterRecord, wholeSize, 144, 172),
    AT(FilterRecord, monitor, 148, 176),
    AT(FilterRecord, platformData, 188, 216),
    AT(FilterRecord, displayPixels, 204, 248),
    AT(FilterRecord, handleProcs, 208, 256),
    AT(FilterRecord, filterCase, 216, 268),
    AT(FilterRecord, advanceState, 224, 280),
    AT(FilterRecord, samplingSupport, 244, 308),
    AT(FilterRecord, inputRate, 248, 312),
    AT(FilterRecord, inLayerPlanes, 260, 328),
    AT(FilterRecord, inTransparencyMask, 262, 330),
    AT(FilterRecord, inNonLayerPlanes, 268, 336),
    AT(FilterRecord, inColumnBytes, 300, 368),
    AT(FilterRecord, descriptorParameters, 356, 432),
    AT(FilterRecord, depth, 380, 480),
    SIZE(FilterRecord, 452, 556),
    AT(AboutRecord, platformData, 0, 0),
    AT(AboutRecord, plugInRef, 8, 16),
    AT(HandleProcs, count, 2, 2),
    AT(HandleProcs, newProc, 4, 8),
    AT(HandleProcs, lockProc, 20, 40),
    AT(HandleProcs, unlockProc, 24, 48),
    AT(PixelMap, baseAddr, 36, 40),
    AT(PixelMap, maskPhaseRow, 48, 64),
    SIZE(PixelMap, 56, 72),
    AT(DescriptorParameters, descriptor, 8, 8),
    AT(DescriptorParameters, writeDescriptorProcs, 12, 16),
    AT(DescriptorParameters, readDescriptorProcs, 16, 24),
    AT(ReadDescriptorProcs, openReadDescriptorProc, 4, 8),
    AT(ReadDescriptorProcs, getIntegerProc, 16, 32),
    AT(ReadDescriptorProcs, getBooleanProc, 28, 56),
    AT(WriteDescriptorProcs, openWriteDescriptorProc, 4, 8),
    AT(WriteDescriptorProcs, putIntegerProc, 12, 24),
    AT(WriteDescriptorProcs, putBooleanProc, 24, 48),
    SIZE(PlatformData, 4, 8),
};

constexpr bool AllAsDocumented() {
  for (const Documented& d : kLayout)
    if (d.declared != For(d.offset32, d.offset64)) return false;
  return true;
}
static_assert(AllAsDocumented(), "a structure differs from the interface's layout (the test lists which)");

TEST(InterfaceLayout, EveryFieldWhereTheInterfacePutsIt) {
  for (const Documented& d : kLayout)
    EXPECT_EQ(For(d.offset32, d.offset64), d.declared) << d.field << " (" << sizeof(void*) * 8 << "-bit)";
}

}  // namespace
