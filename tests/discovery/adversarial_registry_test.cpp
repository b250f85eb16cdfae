// A registry written to hurt: keys 30 levels deep, names of 255 characters
// and more, data of 255 to 300 bytes, strings without terminator, other value
// types named like folder values, bytes 0x80 to 0xFF, empty data. The
// discovery must finish and still find the good folders among the bad.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/FolderCandidates.h"
#include "discovery/HostDiscovery.h"
#include "discovery_fixture.h"
#include "hostile_registry.h"

namespace {

const HKEY kCu = HKEY_CURRENT_USER;
const std::string kAdv = "C:\\dtest\\adv\\";

class AdversarialRegistry : public ::testing::Test {
 protected:
  void SetUp() override { DiscoveryEnvironment::Clean(); }
  void TearDown() override { DiscoveryEnvironment::Clean(); }

  // A value holding a test folder, which is created unless told otherwise.
  static void Folder(const std::string& key, const std::string& name, const std::string& folder, bool create = true) {
    if (create) EXPECT_TRUE(MakeFolders(kAdv + folder)) << "creating a folder";
    SetRegistryString(kCu, kView32, key, name, kAdv + folder);
  }
  static void Bytes(const std::string& key, const std::string& name, DWORD type, const std::string& bytes) {
    SetRegistryValue(kCu, kView32, key, name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  }
};

std::vector<std::string> Candidates() {
  std::vector<std::string> found;
  for (const FolderCandidate& c : FolderCandidates)
    if (c.Path[0]) found.push_back(c.Path);
  return found;
}

TEST_F(AdversarialRegistry, DiscoveryFindsTheGoodFoldersAmongTheBad) {
  LoadHostileRegistry("C:\\dtest\\");
  const bool westernCodePage = GetACP() == 1252;

  DiscoverHostFolders();

  // The walk opens each key relative to its parent, so the long paths that
  // Wine's ANSI calls refuse in one piece (over 260 characters) are read too.
  std::vector<std::string> expected = {"C:\\Dtest\\Adv\\Deep01\\", "C:\\Dtest\\Adv\\Deep19\\", "C:\\Dtest\\Adv\\Sib19\\",
                                       "C:\\Dtest\\Adv\\Long1\\", "C:\\Dtest\\Adv\\Longsibling\\"};
  for (const char* later : {"Name255", "Afternames", "Data255", "Data256", "Afterlong", "Noterm"})
    expected.push_back(std::string("C:\\Dtest\\Adv\\") + later + "\\");
  if (westernCodePage) expected.push_back("C:\\Dtest\\Adv\\\xE9t\xE9\\");
  EXPECT_EQ(expected, Candidates());
}

TEST_F(AdversarialRegistry, AFolderValueAfterATooLongOneIsStillFound) {
  const std::string key = "Software\\Adobe\\Photoshop\\60.0";
  Bytes(key, "a_Cache", REG_SZ, std::string(299, 'c') + '\0');
  Bytes(key, "b_Binary", REG_BINARY, std::string(300, '\xFF'));
  Folder(key, "PluginPath", "ps60");
  DiscoverHostFolders();
  ASSERT_EQ(std::vector<std::string>{"C:\\Dtest\\Adv\\Ps60\\"}, Candidates());
  EXPECT_EQ(1, FolderCandidates[0].From64BitView)
      << "the per-user key is shared by both views, so the 64-bit walk finds it first";
}

}  // namespace
