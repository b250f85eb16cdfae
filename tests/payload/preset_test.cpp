// Preset blocks stored as REG_BINARY values under HKEY_CURRENT_USER of the
// test prefix, read back with RegQueryValueExA.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "payload/PayloadOutcome.h"
#include "payload/PresetRecords.h"
#include "payload/SkipList.h"
#include "payload_fixture.h"

namespace {

const char kQuillWorks[] = "Software\\Mirefold\\QuillWorks";
const char kTessera[] = "Software\\Mirefold\\Tessera";

class PresetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Mirefold");
    std::memset(SkipList, 0, sizeof SkipList);
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Mirefold");
    std::memset(SkipList, 0, sizeof SkipList);
  }
};

// The value's bytes, or an empty vector when it is missing or not REG_BINARY.
Bytes ReadBinaryValue(const char* subkey, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  Bytes bytes(4096);
  DWORD type = 0, size = static_cast<DWORD>(bytes.size());
  LONG status = RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_BINARY) return {};
  bytes.resize(size);
  return bytes;
}

void ExpectRecords(const char* subkey, const char* prefix, int count, int size, const Bytes& block) {
  for (int n = 1; n <= count; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%02d", prefix, n);
    Bytes want(block.begin() + (n - 1) * size, block.begin() + n * size);
    EXPECT_EQ(want, ReadBinaryValue(subkey, name)) << "value " << name << " under " << subkey;
  }
  char beyond[32];
  std::snprintf(beyond, sizeof beyond, "%s%02d", prefix, count + 1);
  EXPECT_TRUE(ReadBinaryValue(subkey, beyond).empty()) << beyond << " must not exist";
}

TEST_F(PresetTest, EachKindLandsUnderItsKeyAndNoFileIsWritten) {
  std::string folder = FreshFolder("presets");
  EXPECT_TRUE(InstallType(folder, 3102));
  ExpectRecords(kQuillWorks, "Portrait", 12, 64, ResourceBytes(3102, "PRESETS__SKETCHESBIN"));
  ExpectRecords(kTessera, "Bouquet", 16, 128, ResourceBytes(3102, "PRESETS__BOUQUETSBIN"));
  ExpectRecords(kTessera, "Patterns", 12, 128, ResourceBytes(3102, "PRESETS__PATTERNSBIN"));
  EXPECT_EQ(40, Outcomes.written) << "12 + 16 + 12 records";
  EXPECT_FALSE(Exists(folder + "PresetsSketchesbin"));

  // Installing the same blocks again leaves the same values.
  InstallType(folder, 3102);
  ExpectRecords(kQuillWorks, "Portrait", 12, 64, ResourceBytes(3102, "PRESETS__SKETCHESBIN"));
}

TEST_F(PresetTest, AShortBlockIsRefusedWhole) {
  std::string folder = FreshFolder("short-preset");
  EXPECT_TRUE(InstallType(folder, 3103));
  EXPECT_TRUE(ReadBinaryValue(kTessera, "Patterns01").empty()) << "no record of a short block is written";
  EXPECT_EQ(1, Outcomes.failed);
  EXPECT_FALSE(Exists(folder + "Short PresetsPatternsbin"));
}

TEST_F(PresetTest, ASkippedBlockIsNotWritten) {
  std::string folder = FreshFolder("skipped-preset");
  AddSkipKey("Presets");
  InstallType(folder, 3102);
  EXPECT_TRUE(ReadBinaryValue(kQuillWorks, "Portrait01").empty());
  EXPECT_EQ(0, Outcomes.written);
}

TEST_F(PresetTest, WriteRegistryValueReplacesAnExistingValue) {
  const unsigned char first[3] = {1, 2, 3};
  const unsigned char second[2] = {9, 8};
  EXPECT_EQ(ERROR_SUCCESS, WriteRegistryValue(kTessera, "Bouquet01", 3, first));
  EXPECT_EQ(ERROR_SUCCESS, WriteRegistryValue(kTessera, "Bouquet01", 2, second));
  EXPECT_EQ(Bytes({9, 8}), ReadBinaryValue(kTessera, "Bouquet01"));
}

}  // namespace
