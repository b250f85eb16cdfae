// Payload files written from the program's own resources into a folder of
// the test prefix and read back from disk.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "payload/PayloadOutcome.h"
#include "payload/PayloadWriter.h"
#include "payload/SkipList.h"
#include "payload_fixture.h"

namespace {

class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override { std::memset(SkipList, 0, sizeof SkipList); }
  void TearDown() override { std::memset(SkipList, 0, sizeof SkipList); }
};

const PayloadOutcome* OutcomeFor(const char* name) {
  for (int i = 0; i < Outcomes.count; ++i)
    if (std::strcmp(Outcomes.items[i].name, name) == 0) return &Outcomes.items[i];
  return nullptr;
}

TEST_F(ExtractTest, WritesEveryResourceOfATypeByteForByte) {
  std::string folder = FreshFolder("several");
  EXPECT_TRUE(InstallType(folder, 3100));
  const struct {
    const char* resource;
    const char* file;
  } expected[] = {{"ALPHA.BIN", "Alpha.bin"}, {"BRAVO_TWO.BIN", "Bravo Two.bin"}, {"CHARLIE__X.DAT", "CharlieX.dat"}};
  for (const auto& e : expected) {
    Bytes want = ResourceBytes(3100, e.resource);
    ASSERT_FALSE(want.empty()) << e.resource;
    EXPECT_EQ(want, ReadFileBytes(folder + e.file)) << "bytes on disk differ from resource " << e.resource;
  }
  EXPECT_EQ(3, Outcomes.written) << "expected 3 files written";
  EXPECT_EQ(0, Outcomes.failed);
  EXPECT_EQ(0, CountTemporaryFiles(folder)) << "no temporary file may be left behind";
}

TEST_F(ExtractTest, TheTwoPluginBuildsRoundTrip) {
  std::string folder = FreshFolder("plugin");
  InstallType(folder, 3001);
  InstallType(folder, 3000);
  Bytes plugin32 = ReadFileBytes(folder + "iRelief.8bf");
  Bytes plugin64 = ReadFileBytes(folder + "iRelief(X64).8bf");
  ASSERT_FALSE(plugin32.empty()) << "iRelief.8bf was not written";
  ASSERT_FALSE(plugin64.empty()) << "iRelief(X64).8bf was not written";
  EXPECT_EQ(ResourceBytes(3000, ":I__RELIEF.8BF"), plugin32);
  EXPECT_EQ(ResourceBytes(3001, ":I__RELIEF(X64).8BF"), plugin64);
  EXPECT_EQ(ReadFileBytes(PLUGIN32_PATH), plugin32) << "installed 32-bit file differs from the build";
  EXPECT_EQ(ReadFileBytes(PLUGIN64_PATH), plugin64) << "installed 64-bit file differs from the build";
}

TEST_F(ExtractTest, SkipKeysMatchCaseSensitiveSubstrings) {
  std::string folder = FreshFolder("skip");
  AddSkipKey("iRelief");
  InstallType(folder, 3000);
  InstallType(folder, 3001);
  EXPECT_FALSE(Exists(folder + "iRelief.8bf"));
  EXPECT_FALSE(Exists(folder + "iRelief(X64).8bf"));
  ASSERT_NE(nullptr, OutcomeFor("iRelief(X64).8bf"));
  EXPECT_EQ(OutcomeKind::Skipped, OutcomeFor("iRelief(X64).8bf")->kind);

  std::memset(SkipList, 0, sizeof SkipList);
  AddSkipKey("irelief");
  InstallType(folder, 3000);
  EXPECT_TRUE(Exists(folder + "iRelief.8bf")) << "a key in other letter case skips nothing";
}

TEST_F(ExtractTest, AnEmptyResourceStopsItsType) {
  std::string folder = FreshFolder("empty");
  EXPECT_FALSE(InstallType(folder, 3101)) << "the enumeration is stopped";
  EXPECT_TRUE(Exists(folder + "A1.bin")) << "the file before the empty resource is written";
  EXPECT_FALSE(Exists(folder + "B2.bin"));
  EXPECT_FALSE(Exists(folder + "C3.bin")) << "the file after the empty resource is not written";
  EXPECT_EQ(1, Outcomes.failed) << "the stop is recorded as a failure";
}

TEST_F(ExtractTest, ALockedPluginSurvivesByteForByte) {
  std::string folder = FreshFolder("locked");
  Bytes old = {'o', 'l', 'd', ' ', 'p', 'l', 'u', 'g', '-', 'i', 'n'};
  std::string target = folder + "Alpha.bin";
  WriteFileBytes(target, old);
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held) << "could not hold the file open, error " << GetLastError();
  InstallType(folder, 3100);
  CloseHandle(held);

  EXPECT_EQ(old, ReadFileBytes(target)) << "the existing file must stay exactly as it was";
  const PayloadOutcome* alpha = OutcomeFor("Alpha.bin");
  ASSERT_NE(nullptr, alpha);
  EXPECT_EQ(OutcomeKind::Failed, alpha->kind);
  EXPECT_TRUE(alpha->error == ERROR_SHARING_VIOLATION || alpha->error == ERROR_ACCESS_DENIED)
      << "expected a sharing violation or access denied, got " << alpha->error;
  EXPECT_EQ(2, Outcomes.written) << "the other files are still written";
  EXPECT_EQ(0, CountTemporaryFiles(folder));
}

TEST_F(ExtractTest, AReadOnlyPluginIsNotReplaced) {
  std::string folder = FreshFolder("readonly");
  std::string target = folder + "Alpha.bin";
  Bytes old = {1, 2, 3};
  WriteFileBytes(target, old);
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
  InstallType(folder, 3100);
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(old, ReadFileBytes(target));
  ASSERT_NE(nullptr, OutcomeFor("Alpha.bin"));
  EXPECT_EQ(OutcomeKind::Failed, OutcomeFor("Alpha.bin")->kind);
  EXPECT_EQ(0, CountTemporaryFiles(folder));
}

TEST_F(ExtractTest, AMissingFolderFailsEveryFile) {
  std::string folder = FreshFolder("missing-parent") + "not-there\\";
  InstallType(folder, 3100);
  EXPECT_EQ(3, Outcomes.failed);
  EXPECT_EQ(0, Outcomes.written);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND), Outcomes.items[0].error);
}

TEST_F(ExtractTest, PathsThatDoNotFitAreFailuresNotTruncations) {
  std::string base = FreshFolder("overlong");
  std::string folder = base + std::string(kInstallFolderCapacity - 1 - base.size() - 1, 'x') + "\\";
  ASSERT_EQ(static_cast<std::size_t>(kInstallFolderCapacity - 1), folder.size());
  InstallType(folder, 3100);
  EXPECT_EQ(3, Outcomes.failed);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILENAME_EXCED_RANGE), Outcomes.items[0].error);

  std::string normal = FreshFolder("longname");
  EXPECT_TRUE(InstallType(normal, 3104)) << "an unusable name does not stop the type";
  EXPECT_EQ(1, Outcomes.failed) << "the 420-character resource name is a failed file";
  EXPECT_TRUE(Exists(normal + "Zulu.bin")) << "the resource after it is still written";
}

}  // namespace
