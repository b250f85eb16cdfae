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

namespace {

const HKEY kCu = HKEY_CURRENT_USER;
const std::string kMaker = "Software\\Mirefold";
const std::string kAdv = "C:\\dtest\\adv\\";

class AdversarialRegistry : public ::testing::Test {
 protected:
  void SetUp() override { DiscoveryEnvironment::Clean(); }
  void TearDown() override { DiscoveryEnvironment::Clean(); }

  // A value holding a test folder, which is created unless told otherwise.
  static void Folder(const std::string& key, const std::string& name, const std::string& folder, bool create = true) {
    if (create) MakeFolder(kAdv + folder);
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
  // A chain 30 levels deep, d01 one level below the maker's key. The walk
  // enters 19 levels; d18's second child e19 shows that it goes on with the
  // siblings after refusing to go deeper.
  std::string key = kMaker;
  for (int level = 1; level <= 30; ++level) {
    char name[8];
    wsprintfA(name, "d%02d", level);
    key += "\\";
    key += name;
    if (level == 1 || level == 19 || level == 20 || level == 30) Folder(key, "Plugin", std::string("deep") + (name + 1));
    if (level == 18) Folder(key + "\\e19", "Plugin", "sib19");
    if (level == 19) Folder(key + "\\e20", "Plugin", "sib20");
  }

  // The longest key names (255 characters on Windows): the first fits the
  // 400-character key path, one more below it does not and is passed over,
  // its short sibling is not.
  const std::size_t longest = LongestKeyName(kCu, kMaker);
  ASSERT_GE(longest, 200u);
  const std::string k255(longest, 'k');
  const std::string longKey = kMaker + "\\" + k255;
  Folder(longKey, "plugin", "long1");
  Folder(longKey, "plug" + std::string(251, 'v'), "longdescriptor");  // where-found text passes 400
  Folder(longKey + "\\" + k255, "plugin", "beyondpath");
  Folder(longKey + "\\ok", "plugin", "longsibling");

  // Value names of 255 characters and longer, then a good one.
  const std::string names = kMaker + "\\names";
  Folder(names, "plug" + std::string(251, 'n'), "name255");
  Folder(names, "plug" + std::string(296, 'n'), "name300");
  Folder(names, "zplug", "afternames");

  // Data of 255, 256, 257 and 300 bytes; the folder is the part before the padding.
  const std::string sizes = kMaker + "\\sizes";
  auto padded = [](const std::string& folder, std::size_t characters) {
    std::string text = kAdv + folder + "\\";
    text.resize(characters, 'x');
    return text;
  };
  MakeFolder(kAdv + "data255");
  MakeFolder(kAdv + "data256");
  MakeFolder(kAdv + "open256");
  MakeFolder(kAdv + "data257");
  MakeFolder(kAdv + "data300");
  Bytes(sizes, "a_plug", REG_SZ, padded("data255", 254) + '\0');
  Bytes(sizes, "b_plug", REG_SZ, padded("data256", 255) + '\0');
  Bytes(sizes, "c_plug", REG_SZ, padded("open256", 256));
  Bytes(sizes, "d_plug", REG_SZ, padded("data257", 256) + '\0');
  Bytes(sizes, "e_plug", REG_SZ, padded("data300", 299) + '\0');
  Folder(sizes, "f_plug", "afterlong");

  // Other types named like folder values; empty data; no terminator.
  const std::string types = kMaker + "\\types";
  MakeFolder(kAdv + "expand");
  MakeFolder(kAdv + "binary");
  MakeFolder(kAdv + "multi");
  MakeFolder(kAdv + "noterm");
  Bytes(types, "PluginPath", REG_EXPAND_SZ, kAdv + "expand" + '\0');
  Bytes(types, "plugin", REG_BINARY, kAdv + "binary" + '\0');
  Bytes(types, "directory1", REG_DWORD, std::string("C:\\d", 4));
  Bytes(types, "plugins", REG_MULTI_SZ, kAdv + "multi" + '\0' + '\0');
  Bytes(types, "plugempty", REG_SZ, std::string(1, '\0'));
  Bytes(types, "plugzero", REG_SZ, "");
  Bytes(types, "plugnoterm", REG_SZ, kAdv + "noterm");
  Bytes(types, "plugdrive", REG_SZ, std::string("C:\\") + '\0');
  Bytes(types, "plugletters", REG_SZ, std::string("123") + '\0');

  // Bytes 0x80 to 0xFF in key names, value names and data.
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  const std::string highKey = kMaker + "\\\xE9t\xE9";
  Bytes(highKey, "plug" + high.substr(0, 60), REG_SZ, high + '\0');
  const bool westernCodePage = GetACP() == 1252;
  if (westernCodePage) Folder(highKey, "plug\xE9", "\xE9t\xE9");

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
