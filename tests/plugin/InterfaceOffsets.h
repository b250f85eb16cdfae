#pragma once
// Where the plug-in interface puts each field hosts and filters exchange, in
// bytes from the start of its structure, for 32-bit and 64-bit hosts on
// Windows, as the interface documents them (the filter record packed to 4
// bytes, the callback tables and the pixel map naturally aligned). The test
// host writes its records by these numbers, and the layout test holds the
// filter's own declaration against them: neither takes a layout from the
// filter. No <windows.h>: the native tests use it too.
#include <cstddef>

namespace offsets {

constexpr std::size_t For(std::size_t offset32, std::size_t offset64) {
  return sizeof(void*) == 8 ? offset64 : offset32;
}

// The filter record.
constexpr std::size_t kSerialNumber = 0;
constexpr std::size_t kAbortProc = For(4, 4);
constexpr std::size_t kProgressProc = For(8, 12);
constexpr std::size_t kParameters = For(12, 20);
constexpr std::size_t kImageSize = For(16, 28);  // v, h (16-bit each)
constexpr std::size_t kPlanes = For(20, 32);
constexpr std::size_t kFilterRect = For(22, 34);  // top, left, bottom, right (16-bit each)
constexpr std::size_t kBackground = For(30, 42);
constexpr std::size_t kMaxSpace = For(44, 56);
constexpr std::size_t kBufferSpace = For(48, 60);
constexpr std::size_t kInRect = For(52, 64);
constexpr std::size_t kInLoPlane = For(60, 72);
constexpr std::size_t kInHiPlane = For(62, 74);
constexpr std::size_t kOutRect = For(64, 76);
constexpr std::size_t kOutLoPlane = For(72, 84);
constexpr std::size_t kOutHiPlane = For(74, 86);
constexpr std::size_t kInData = For(76, 88);
constexpr std::size_t kInRowBytes = For(80, 96);
constexpr std::size_t kOutData = For(84, 100);
constexpr std::size_t kOutRowBytes = For(88, 108);
constexpr std::size_t kIsFloating = For(92, 112);
constexpr std::size_t kHaveMask = For(93, 113);
constexpr std::size_t kAutoMask = For(94, 114);
constexpr std::size_t kMaskRect = For(96, 116);
constexpr std::size_t kMaskData = For(104, 124);
constexpr std::size_t kMaskRowBytes = For(108, 132);
constexpr std::size_t kHostSig = For(120, 144);
constexpr std::size_t kHostProcs = For(124, 148);
constexpr std::size_t kImageMode = For(128, 156);
constexpr std::size_t kImageHRes = For(132, 160);
constexpr std::size_t kWholeSize = For(144, 172);
constexpr std::size_t kMonitor = For(148, 176);  // ten 16.16 values: 40 bytes
constexpr std::size_t kPlatformData = For(188, 216);
constexpr std::size_t kBufferProcs = For(192, 224);
constexpr std::size_t kResourceProcs = For(196, 232);
constexpr std::size_t kProcessEvent = For(200, 240);
constexpr std::size_t kDisplayPixels = For(204, 248);
constexpr std::size_t kHandleProcs = For(208, 256);
constexpr std::size_t kFilterCase = For(216, 268);
constexpr std::size_t kDummyPlaneValue = For(218, 270);
constexpr std::size_t kPremiereHook = For(220, 272);
constexpr std::size_t kAdvanceState = For(224, 280);
constexpr std::size_t kGetPropertyObsolete = For(232, 292);
constexpr std::size_t kSamplingSupport = For(244, 308);
constexpr std::size_t kInputRate = For(248, 312);
constexpr std::size_t kMaskRate = For(252, 316);
constexpr std::size_t kColorServices = For(256, 320);
constexpr std::size_t kInLayerPlanes = For(260, 328);
constexpr std::size_t kInTransparencyMask = For(262, 330);
constexpr std::size_t kInNonLayerPlanes = For(268, 336);
constexpr std::size_t kInColumnBytes = For(300, 368);
constexpr std::size_t kImageServicesProcs = For(316, 384);
constexpr std::size_t kPropertyProcs = For(320, 392);
constexpr std::size_t kDescriptorParameters = For(356, 432);
constexpr std::size_t kErrorString = For(360, 440);
constexpr std::size_t kChannelPortProcs = For(364, 448);
constexpr std::size_t kDocumentInfo = For(368, 456);
constexpr std::size_t kSSPBasic = For(372, 464);
constexpr std::size_t kPlugInRef = For(376, 472);
constexpr std::size_t kDepth = For(380, 480);
constexpr std::size_t kRecordSize = For(452, 556);

// The About record.
constexpr std::size_t kAboutPlatformData = 0;
constexpr std::size_t kAboutPlugInRef = For(8, 16);

// What platformData points to: the host's window.
constexpr std::size_t kPlatformHwnd = 0;

// Callback tables (handle callbacks, descriptor readers and writers): a
// 16-bit version and a 16-bit count, then the callbacks.
constexpr std::size_t kTableVersion = 0;
constexpr std::size_t kTableCount = 2;
constexpr std::size_t TableEntry(int n) { return For(4, 8) + std::size_t(n) * sizeof(void*); }

// What descriptorParameters points to.
constexpr std::size_t kDescriptorVersion = 0;
constexpr std::size_t kDescriptorPlayInfo = 2;
constexpr std::size_t kDescriptorRecordInfo = 4;
constexpr std::size_t kDescriptorHandle = For(8, 8);
constexpr std::size_t kDescriptorWriteProcs = For(12, 16);
constexpr std::size_t kDescriptorReadProcs = For(16, 24);
constexpr std::size_t kDescriptorParametersSize = For(20, 32);

// The pixel map displayPixels draws from.
constexpr std::size_t kMapVersion = 0;
constexpr std::size_t kMapBounds = 4;  // top, left, bottom, right (32-bit each)
constexpr std::size_t kMapImageMode = 20;
constexpr std::size_t kMapRowBytes = 24;
constexpr std::size_t kMapColBytes = 28;
constexpr std::size_t kMapPlaneBytes = 32;
constexpr std::size_t kMapBaseAddr = For(36, 40);

}  // namespace offsets
