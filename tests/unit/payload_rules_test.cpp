// File-name decoding, the skip list, preset kinds, the payload-type choice
// when a failed file operation is tried again and the temporary name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/PayloadTypes.h"
#include "payload/PresetKinds.h"
#include "payload/ResourceName.h"
#include "payload/SkipList.h"
#include "payload/TemporaryName.h"
#include "payload/WriteRetry.h"
#include "tests/support/GuardedText.h"

namespace {

std::string Decode(const char* raw) {
  // A buffer of exactly the name's size: decoding works in place.
  const std::size_t rawLength = std::strlen(raw);
  GuardedText buffer(rawLength + 1, raw, rawLength);
  DecodeResourceName(buffer.data());
  EXPECT_EQ(-1, buffer.FirstTouchedGuard()) << "a byte after the name was overwritten";
  EXPECT_LE(buffer.text().size(), rawLength) << "a decoded name is never longer";
  return buffer.text();
}

TEST(DecodeResourceName, WorkedExamples) {
  const struct {
    const char* raw;
    const char* file;
  } cases[] = {
      {":I__RELIEF.8BF", "iRelief.8bf"},
      {":I__RELIEF(X64).8BF", "iRelief(X64).8bf"},
      {"README_FIRST.TXT", "Readme First.txt"},
      {"PHOTOGRAPHER'S_GUIDE.PDF", "Photographer's Guide.pdf"},
      {"3D_TOOLS.8BF", "3D Tools.8bf"},
      {"8X_TEST", "8x Test"},
      {"A___B", "A B"},
      {"AB:C", "Abc"},
      {"A:(B", "A(b"},
      {"X:_Y", "X_y"},
      {"AB_", "Ab_"},
      {"PRESETS__SKETCHESBIN", "PresetsSketchesbin"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.file, Decode(c.raw)) << "resource name " << c.raw;
}

TEST(DecodeResourceName, CornerCases) {
  EXPECT_EQ("", Decode(""));
  EXPECT_EQ("A", Decode("a"));
  EXPECT_EQ(":", Decode(":")) << "a lone colon is the last character and is never examined";
  EXPECT_EQ("A:", Decode("A:")) << "a trailing colon stays";
  EXPECT_EQ("A_", Decode("A_")) << "a trailing underscore stays";
  EXPECT_EQ("A", Decode("A__")) << "a pair at the end is removed and nothing follows it";
  EXPECT_EQ("A  B", Decode("A____B")) << "after a pair, the third and fourth underscores become spaces";
  EXPECT_EQ("A_b", Decode("A__:_B")) << "a colon after a pair is removed and shields what follows";
  EXPECT_EQ(":abc", Decode("::ABC")) << "the colon that moves into place is shielded";
}

TEST(DecodeResourceName, LongestNameStaysInItsBuffer) {
  std::string raw(kResourceNameCapacity - 1, '_');
  std::string decoded = Decode(raw.c_str());
  EXPECT_LT(decoded.size(), raw.size());
  raw.assign(kResourceNameCapacity - 1, 'A');
  EXPECT_EQ(raw.size(), Decode(raw.c_str()).size());
}

class SkipListTest : public ::testing::Test {
 protected:
  void SetUp() override { std::memset(SkipList, 0, sizeof SkipList); }
  void TearDown() override { std::memset(SkipList, 0, sizeof SkipList); }
};

TEST_F(SkipListTest, MatchesCaseSensitiveSubstrings) {
  EXPECT_FALSE(InSkipList("iRelief.8bf")) << "an empty list skips nothing";
  AddSkipKey("iRelief");
  EXPECT_TRUE(InSkipList("iRelief.8bf"));
  EXPECT_TRUE(InSkipList("iRelief(X64).8bf"));
  EXPECT_FALSE(InSkipList("Irelief.8bf")) << "the test is case-sensitive";
}

TEST_F(SkipListTest, KeepsTwentyEntriesAndRefusesOverlongKeys) {
  for (int i = 0; i < kSkipListEntries; ++i) AddSkipKey(("key" + std::to_string(i)).c_str());
  AddSkipKey("extra");
  EXPECT_STREQ("key19", SkipList[19]);
  EXPECT_FALSE(InSkipList("extra.txt")) << "a 21st key is not added";

  std::memset(SkipList, 0, sizeof SkipList);
  std::string longKey(kSkipKeyCapacity, 'k');
  AddSkipKey(longKey.c_str());
  EXPECT_EQ('\0', SkipList[0][0]) << "a key longer than its entry is refused, not cut";
  AddSkipKey("");
  EXPECT_EQ('\0', SkipList[0][0]) << "an empty key would read as a free entry";
}

TEST(PresetKinds, MarkersInTableOrderAndValueNames) {
  const PresetKind* kind = FindPresetKind("PresetsPatternsbin PresetsSketchesbin");
  ASSERT_NE(nullptr, kind);
  EXPECT_STREQ("PresetsSketchesbin", kind->marker) << "Sketches is tested first";
  EXPECT_EQ(nullptr, FindPresetKind("presetssketchesbin")) << "markers are case-sensitive";

  char name[16];
  kind = FindPresetKind("PresetsBouquetsbin");
  ASSERT_NE(nullptr, kind);
  ASSERT_TRUE(FormatPresetValueName(name, sizeof name, *kind, 1));
  EXPECT_STREQ("Bouquet01", name);
  ASSERT_TRUE(FormatPresetValueName(name, sizeof name, *kind, 16));
  EXPECT_STREQ("Bouquet16", name);
  EXPECT_FALSE(FormatPresetValueName(name, 9, *kind, 16)) << "a name that does not fit is refused";
}

TEST(PresetKinds, ABlockMustHoldEveryRecord) {
  const struct {
    const char* marker;
    unsigned long bytes;
  } kinds[] = {{"PresetsSketchesbin", 768}, {"PresetsBouquetsbin", 2048}, {"PresetsPatternsbin", 1536}};
  for (const auto& k : kinds) {
    const PresetKind* kind = FindPresetKind(k.marker);
    ASSERT_NE(nullptr, kind) << k.marker;
    EXPECT_EQ(k.bytes, PresetBlockBytes(*kind)) << k.marker;
    EXPECT_FALSE(PresetBlockComplete(*kind, k.bytes - 1)) << k.marker << ": one byte short is refused whole";
    EXPECT_TRUE(PresetBlockComplete(*kind, k.bytes)) << k.marker;
    EXPECT_TRUE(PresetBlockComplete(*kind, k.bytes + 40)) << k.marker << ": a longer block's tail is ignored";
  }
}

TEST(ChoosePayloadTypes, FollowsTheFolderOn64BitWindows) {
  int types[2] = {0, 0};
  ASSERT_EQ(1, ChoosePayloadTypes(0, "C:\\Program Files (64 Bit)\\", types));
  EXPECT_EQ(kPayload32, types[0]) << "32-bit Windows gets the 32-bit build only";

  ASSERT_EQ(1, ChoosePayloadTypes(1, "C:\\Program Files (x86)\\Host\\", types));
  EXPECT_EQ(kPayload32, types[0]);
  ASSERT_EQ(1, ChoosePayloadTypes(1, "C:\\Host (64 Bit)\\Plug-Ins\\", types));
  EXPECT_EQ(kPayload64, types[0]);
  ASSERT_EQ(1, ChoosePayloadTypes(1, "C:\\(x86)\\Host (64 Bit)\\", types));
  EXPECT_EQ(kPayload64, types[0]) << "\"(64\" is tested before \"86)\"";
  ASSERT_EQ(2, ChoosePayloadTypes(1, "C:\\Host (x64)\\", types)) << "(x64) contains neither test text";
  EXPECT_EQ(kPayload64, types[0]);
  EXPECT_EQ(kPayload32, types[1]);
}

TEST(ShouldRetryWrite, TransientErrorsForAboutASecondAndNothingElse) {
  for (WriteStep step : {WriteStep::CreateTemporary, WriteStep::MoveIntoPlace}) {
    int attempts = 1;
    while (ShouldRetryWrite(step, kErrorSharingViolation, attempts)) ++attempts;
    EXPECT_EQ(kWriteAttempts, attempts) << "a sharing violation is tried until the last attempt";
    const unsigned waitedMs = (attempts - 1) * kWriteRetryPauseMs;
    EXPECT_GE(waitedMs, 800u) << "expected about a second of retries, got " << waitedMs << " ms";
    EXPECT_LE(waitedMs, 1500u) << "expected about a second of retries, got " << waitedMs << " ms";
    EXPECT_TRUE(ShouldRetryWrite(step, kErrorLockViolation, kWriteAttempts - 1));
    EXPECT_FALSE(ShouldRetryWrite(step, kErrorLockViolation, kWriteAttempts));
    EXPECT_FALSE(ShouldRetryWrite(step, kErrorSharingViolation, 0)) << "attempts are counted from 1";
    // Disk full (112), path not found (3) and their neighbours: at once.
    for (std::uint32_t other : {0u, 3u, 112u, 31u, 34u})
      EXPECT_FALSE(ShouldRetryWrite(step, other, 1)) << "error " << other;
  }
  // A held destination refuses the move as access denied; a folder that
  // refuses the temporary file is no passing state.
  EXPECT_TRUE(ShouldRetryWrite(WriteStep::MoveIntoPlace, kErrorAccessDenied, 1));
  EXPECT_FALSE(ShouldRetryWrite(WriteStep::MoveIntoPlace, kErrorAccessDenied, kWriteAttempts));
  EXPECT_FALSE(ShouldRetryWrite(WriteStep::CreateTemporary, kErrorAccessDenied, 1));
}

TEST(ComposeTemporaryName, RandomDigitsBesideTheDestinationAndNeverPastTheBuffer) {
  char name[64];
  ASSERT_TRUE(ComposeTemporaryName(name, sizeof name, "C:\\P\\iRelief.8bf", 0x0123456789ABCDEFull));
  EXPECT_STREQ("C:\\P\\iRelief.8bf.0123456789abcdef.tmp", name);
  ASSERT_TRUE(ComposeTemporaryName(name, sizeof name, "C:\\P\\iRelief.8bf", 0x5ull));
  EXPECT_STREQ("C:\\P\\iRelief.8bf.0000000000000005.tmp", name) << "every name has all 16 digits";

  // The exact fit, one short of it, and nothing written when it fails.
  const std::string destination(20, 'd');
  const std::size_t needed = destination.size() + kTemporarySuffixLength + 1;
  std::string buffer(needed + 4, '#');
  EXPECT_FALSE(ComposeTemporaryName(&buffer[0], needed - 1, destination.c_str(), ~0ull));
  EXPECT_EQ(std::string(needed + 4, '#'), buffer) << "a name that does not fit leaves the buffer untouched";
  ASSERT_TRUE(ComposeTemporaryName(&buffer[0], needed, destination.c_str(), ~0ull));
  EXPECT_EQ(destination + ".ffffffffffffffff.tmp", std::string(buffer.c_str()));
  EXPECT_EQ("####", buffer.substr(needed)) << "nothing written past the terminator";
}

}  // namespace
