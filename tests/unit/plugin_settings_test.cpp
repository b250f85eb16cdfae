// The settings block, as kept in the host's parameters handle, the per-user
// copy and recorded scripts: written and read back, and every kind of
// damaged, older or later block answered without reading past it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin/ReliefSettings.h"
#include "plugin/SettingsHandle.h"

using namespace relief;

namespace {

std::vector<uint8_t> Block(const ReliefSettings& s) {
  std::vector<uint8_t> block(kSettingsBlockBytes);
  EXPECT_EQ(kSettingsBlockBytes, WriteSettingsBlock(s, block.data(), block.size()));
  return block;
}

// Recomputes the check sum after a test changed a field on purpose.
void Reseal(std::vector<uint8_t>& b) {
  uint32_t h = 2166136261u;
  for (int i = 0; i < 16; ++i) h = (h ^ b[i]) * 16777619u;
  for (int i = 0; i < 4; ++i) b[16 + i] = static_cast<uint8_t>(h >> (8 * i));
}

TEST(SettingsBlock, RoundTripsEveryValidSetting) {
  for (int angle : {kAngleMin, -1, 0, 135, kAngleMax})
    for (int height : {kHeightMin, 4, kHeightMax})
      for (int amount : {kAmountMin, 100, kAmountMax})
        for (ReliefResult result : {ReliefResult::kGrey, ReliefResult::kColours}) {
          const ReliefSettings s{angle, height, amount, result};
          const std::vector<uint8_t> block = Block(s);
          ReliefSettings read{};
          ASSERT_EQ(BlockRead::kRead, ReadSettingsBlock(block.data(), block.size(), &read));
          EXPECT_EQ(s, read);
        }
  EXPECT_EQ(0, std::memcmp(Block(kDefaultSettings).data(), "iRlf\x01\x00\x14\x00\x87\x00\x01\x00\x64\x00\x00\x00", 16))
      << "little-endian fields at their places";
}

TEST(SettingsBlock, InvalidSettingsAreNeverWritten) {
  uint8_t block[64];
  EXPECT_EQ(0u, WriteSettingsBlock(ReliefSettings{181, 1, 100, ReliefResult::kGrey}, block, sizeof block));
  EXPECT_EQ(0u, WriteSettingsBlock(ReliefSettings{0, 0, 100, ReliefResult::kGrey}, block, sizeof block));
  EXPECT_EQ(0u, WriteSettingsBlock(ReliefSettings{0, 1, 501, ReliefResult::kGrey}, block, sizeof block));
  EXPECT_EQ(0u, WriteSettingsBlock(ReliefSettings{0, 1, 100, ReliefResult(2)}, block, sizeof block));
  EXPECT_EQ(0u, WriteSettingsBlock(kDefaultSettings, block, kSettingsBlockBytes - 1)) << "no room";
}

TEST(SettingsBlock, DamagedOlderAndLaterBlocks) {
  const ReliefSettings chosen{-20, 6, 260, ReliefResult::kColours};
  const std::vector<uint8_t> good = Block(chosen);
  ReliefSettings read = kDefaultSettings;
  EXPECT_EQ(BlockRead::kEmpty, ReadSettingsBlock(nullptr, 0, &read));
  EXPECT_EQ(BlockRead::kEmpty, ReadSettingsBlock(good.data(), 0, &read));
  for (std::size_t cut = 1; cut < good.size(); ++cut) {
    std::vector<uint8_t> shorter(good.begin(), good.begin() + cut);
    EXPECT_EQ(BlockRead::kDamaged, ReadSettingsBlock(shorter.data(), shorter.size(), &read)) << cut << " bytes";
  }
  for (std::size_t i = 0; i < good.size(); ++i)
    for (int bit = 0; bit < 8; ++bit) {
      std::vector<uint8_t> flipped = good;
      flipped[i] ^= static_cast<uint8_t>(1 << bit);
      const BlockRead r = ReadSettingsBlock(flipped.data(), flipped.size(), &read);
      EXPECT_TRUE(r == BlockRead::kDamaged || r == BlockRead::kOldVersion) << "byte " << i << " bit " << bit;
    }
  EXPECT_EQ(kDefaultSettings, read) << "nothing read from a refused block";

  std::vector<uint8_t> b = good;
  b[4] = 0;
  Reseal(b);
  EXPECT_EQ(BlockRead::kOldVersion, ReadSettingsBlock(b.data(), b.size(), &read));
  b = good;
  b[12] = 0xF5;  // amount 501, sealed as if written so
  b[13] = 0x01;
  Reseal(b);
  EXPECT_EQ(BlockRead::kDamaged, ReadSettingsBlock(b.data(), b.size(), &read)) << "amount out of range";
  b = good;
  b[14] = 7;
  Reseal(b);
  EXPECT_EQ(BlockRead::kDamaged, ReadSettingsBlock(b.data(), b.size(), &read)) << "unknown result";

  // A later version, longer, with fields this one does not know: its own
  // fields are read.
  b = good;
  b[4] = 2;
  b[6] = 28;
  Reseal(b);
  b.resize(28, 0xEE);
  EXPECT_EQ(BlockRead::kRead, ReadSettingsBlock(b.data(), b.size(), &read));
  EXPECT_EQ(chosen, read);
  EXPECT_EQ(BlockRead::kDamaged, ReadSettingsBlock(b.data(), 27, &read)) << "length past what was handed over";
  b = good;
  b[6] = 28;  // version 1 but claiming more
  Reseal(b);
  b.resize(28, 0);
  EXPECT_EQ(BlockRead::kDamaged, ReadSettingsBlock(b.data(), b.size(), &read));
}

// Handles as a host keeps them, in memory.
struct FakeHandles {
  static std::vector<uint8_t>* Of(void* h) { return static_cast<std::vector<uint8_t>*>(h); }
  static void* New(int32_t size) { return new std::vector<uint8_t>(std::size_t(size)); }
  static void Dispose(void* h) { delete Of(h); }
  static int32_t Size(void* h) { return int32_t(Of(h)->size()); }
  static int16_t SetSize(void* h, int32_t size) {
    Of(h)->resize(std::size_t(size));
    return 0;
  }
  static void* Lock(void* h, unsigned char) { return Of(h)->data(); }
  static void Unlock(void*) {}
};

TEST(SettingsHandle, StoredReadAndReplacedThroughTheHostsCallbacks) {
  HandleCalls calls;
  void* handle = nullptr;
  ReliefSettings read = kDefaultSettings;
  EXPECT_EQ(BlockRead::kEmpty, LoadFromHandle(calls, handle, &read)) << "no callbacks";
  EXPECT_FALSE(StoreInHandle(calls, &handle, kDefaultSettings)) << "no callbacks, no handle";
  calls = HandleCalls{FakeHandles::New, FakeHandles::Dispose, FakeHandles::Size, FakeHandles::SetSize,
                      FakeHandles::Lock, FakeHandles::Unlock};
  EXPECT_EQ(BlockRead::kEmpty, LoadFromHandle(calls, handle, &read)) << "no handle yet";
  const ReliefSettings chosen{10, 2, 90, ReliefResult::kColours};
  ASSERT_TRUE(StoreInHandle(calls, &handle, chosen));
  void* const made = handle;
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(BlockRead::kRead, LoadFromHandle(calls, handle, &read));
  EXPECT_EQ(chosen, read);
  // A handle of another size (an older plug-in's, or damaged) is resized.
  FakeHandles::Of(made)->assign(3, 0xFF);
  EXPECT_EQ(BlockRead::kDamaged, LoadFromHandle(calls, handle, &read));
  ASSERT_TRUE(StoreInHandle(calls, &handle, kDefaultSettings));
  EXPECT_EQ(made, handle) << "the same handle, resized";
  EXPECT_EQ(kSettingsBlockBytes, FakeHandles::Of(made)->size());
  EXPECT_EQ(BlockRead::kRead, LoadFromHandle(calls, handle, &read));
  EXPECT_EQ(kDefaultSettings, read);
  FakeHandles::Dispose(made);
}

}  // namespace

namespace {

TEST(SettingsWord, CarriesEverySettingFromStartToContinue) {
  for (int angle : {kAngleMin, -7, 0, kAngleMax})
    for (int height : {kHeightMin, kHeightMax})
      for (int amount : {kAmountMin, 333, kAmountMax})
        for (ReliefResult result : {ReliefResult::kGrey, ReliefResult::kColours}) {
          const ReliefSettings s{angle, height, amount, result};
          ReliefSettings back{};
          ASSERT_TRUE(UnpackSettings(PackSettings(s), &back));
          EXPECT_EQ(s, back);
        }
  ReliefSettings back = kDefaultSettings;
  EXPECT_EQ(0, PackSettings(ReliefSettings{0, 0, 100, ReliefResult::kGrey}));
  EXPECT_FALSE(UnpackSettings(0, &back)) << "no settings kept";
  EXPECT_FALSE(UnpackSettings(intptr_t(1) | (intptr_t(3) << 10), &back)) << "amount 0";
  EXPECT_EQ(kDefaultSettings, back);
}

}  // namespace
