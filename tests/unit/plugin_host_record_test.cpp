// The one place that reads and writes the host's record, on records laid
// out by the interface's documented offsets (not by the filter's header):
// what it reads of the image, what the planes past the colours are, which
// callback tables it takes, and what it writes back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin/HostRecord.h"
#include "plugin/ImageModes.h"
#include "tests/plugin/InterfaceOffsets.h"

using namespace relief;

namespace {

// A record of poison, with the fields a test sets at their documented offsets.
struct Record {
  std::vector<uint64_t> storage = std::vector<uint64_t>(offsets::kRecordSize / 8 + 1);
  uint8_t* base = reinterpret_cast<uint8_t*>(storage.data());
  Record() { std::memset(base, 0xA5, offsets::kRecordSize); }
  template <class T>
  void Put(std::size_t at, T v) {
    std::memcpy(base + at, &v, sizeof v);
  }
  template <class T>
  T Get(std::size_t at) const {
    T v;
    std::memcpy(&v, base + at, sizeof v);
    return v;
  }
  void Planes(int16_t planes, int16_t filterCase, int16_t layer, int16_t transparency, int16_t nonLayer) {
    Put<int16_t>(offsets::kPlanes, planes);
    Put<int16_t>(offsets::kFilterCase, filterCase);
    Put<int16_t>(offsets::kInLayerPlanes, layer);
    Put<int16_t>(offsets::kInTransparencyMask, transparency);
    Put<int16_t>(offsets::kInNonLayerPlanes, nonLayer);
  }
};

TEST(HostRecord, ReadsTheImageAndWhatItsExtraPlanesAre) {
  Record r;
  r.Put<int16_t>(offsets::kImageSize, 300);      // v
  r.Put<int16_t>(offsets::kImageSize + 2, 400);  // h
  const int16_t filter[4] = {10, 20, 290, 380};
  std::memcpy(r.base + offsets::kFilterRect, filter, sizeof filter);
  r.Put<int32_t>(offsets::kMaxSpace, 123456);
  r.Put<int16_t>(offsets::kImageMode, kModeRgb);
  r.Planes(4, 4, 3, 1, 0);
  HostRecord host(r.base);
  HostImage image = host.Image();
  EXPECT_EQ(kModeRgb, image.imageMode);
  EXPECT_EQ(400, image.width);
  EXPECT_EQ(300, image.height);
  EXPECT_EQ(4, image.planes);
  EXPECT_EQ(20, image.filter.left);
  EXPECT_EQ(290, image.filter.bottom);
  EXPECT_EQ(123456, image.maxSpace);
  EXPECT_TRUE(image.transparency) << "a layer with its transparency";
  r.Planes(4, 1, 0, 0, 4);
  EXPECT_FALSE(host.Image().transparency) << "a flat image with an extra channel";
  r.Planes(4, 4, 0, 0, 0);
  EXPECT_TRUE(host.Image().transparency) << "no counts, the layer case";
  r.Planes(4, 1, 0, 0, 0);
  EXPECT_FALSE(host.Image().transparency) << "no counts, the flat case";
  r.Planes(4, 0, 0, 0, 0);
  EXPECT_TRUE(host.Image().transparency) << "a host that says neither";
  r.Planes(3, 4, 3, 0, 0);
  EXPECT_FALSE(host.Image().transparency) << "no plane past the colours";
}

int16_t Ok() { return 0; }

TEST(HostRecord, TakesCallbackTablesOnlyWhenTheyHoldWhatItCalls) {
  Record r;
  std::vector<uint64_t> table(16, 0);
  auto* bytes = reinterpret_cast<uint8_t*>(table.data());
  for (int n = 0; n < 8; ++n) {
    void* f = reinterpret_cast<void*>(Ok);
    std::memcpy(bytes + offsets::TableEntry(n), &f, sizeof f);
  }
  const int16_t header[2] = {1, 8};
  std::memcpy(bytes, header, sizeof header);
  void* address = table.data();
  r.Put(offsets::kHandleProcs, address);
  HostRecord host(r.base);
  EXPECT_TRUE(host.Handles().Offered());
  const int16_t shortTable[2] = {1, 5};  // a host with fewer callbacks than the filter calls
  std::memcpy(bytes, shortTable, sizeof shortTable);
  EXPECT_FALSE(host.Handles().Offered());
  r.Put<void*>(offsets::kHandleProcs, nullptr);
  EXPECT_FALSE(host.Handles().Offered());

  std::vector<uint64_t> parameters(8, 0);
  auto* p = reinterpret_cast<uint8_t*>(parameters.data());
  const int16_t play = 0;
  std::memcpy(p + offsets::kDescriptorPlayInfo, &play, 2);
  std::memcpy(p + offsets::kDescriptorReadProcs, &address, sizeof address);
  std::memcpy(p + offsets::kDescriptorWriteProcs, &address, sizeof address);
  r.Put<void*>(offsets::kDescriptorParameters, parameters.data());
  std::memcpy(bytes, header, sizeof header);  // eight entries: enough to write (6), not to read (7)
  const Scripting eight = host.ScriptingParameters();
  EXPECT_TRUE(eight.offered);
  EXPECT_EQ(0, eight.playInfo);
  EXPECT_TRUE(eight.calls.CanWrite());
  EXPECT_TRUE(eight.calls.CanRead());
  const int16_t six[2] = {0, 6};
  std::memcpy(bytes, six, sizeof six);
  EXPECT_FALSE(host.ScriptingParameters().calls.CanRead()) << "getBoolean is the seventh entry";
  EXPECT_TRUE(host.ScriptingParameters().calls.CanWrite());
  int descriptor = 0;
  host.SetDescriptor(&descriptor);
  void* kept = nullptr;
  std::memcpy(&kept, p + offsets::kDescriptorHandle, sizeof kept);
  EXPECT_EQ(&descriptor, kept);
}

TEST(HostRecord, AsksForBandsInTheFieldsHostsRead) {
  Record r;
  HostRecord host(r.base);
  host.Ask(BandRequest{Area{4, 5, 26, 31}, Area{5, 6, 25, 30}, 4, 3});
  const int16_t in[4] = {r.Get<int16_t>(offsets::kInRect), r.Get<int16_t>(offsets::kInRect + 2),
                         r.Get<int16_t>(offsets::kInRect + 4), r.Get<int16_t>(offsets::kInRect + 6)};
  EXPECT_EQ(4, in[0]);
  EXPECT_EQ(5, in[1]);
  EXPECT_EQ(26, in[2]);
  EXPECT_EQ(31, in[3]);
  EXPECT_EQ(25, r.Get<int16_t>(offsets::kOutRect + 4));
  EXPECT_EQ(0, r.Get<int16_t>(offsets::kInLoPlane));
  EXPECT_EQ(3, r.Get<int16_t>(offsets::kInHiPlane));
  EXPECT_EQ(2, r.Get<int16_t>(offsets::kOutHiPlane));
  EXPECT_EQ(0, r.Get<int16_t>(offsets::kMaskRect + 6)) << "no mask asked for";
  host.AskForNothing();
  EXPECT_EQ(0, r.Get<int16_t>(offsets::kInRect + 6));
  EXPECT_EQ(0, r.Get<int16_t>(offsets::kOutRect + 6));
  EXPECT_EQ(0xA5A5A5A5u, r.Get<uint32_t>(offsets::kSerialNumber)) << "fields it has no use for stay untouched";
}

}  // namespace
