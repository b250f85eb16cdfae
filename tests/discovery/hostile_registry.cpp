#include "hostile_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "discovery_fixture.h"

namespace {

const HKEY kCu = HKEY_CURRENT_USER;
const std::string kMaker = "Software\\Mirefold";

// Title case as the drop-down shows a folder: the root keeps its own form,
// the test's folder name gets a capital after each backslash.
std::string Shown(const std::string& shownRoot, std::string name) {
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
  return shownRoot + name + "\\";
}

}  // namespace

std::vector<std::string> LoadHostileRegistry(const std::string& root) {
  const std::string adv = root + "adv\\";
  auto folder = [&](const std::string& key, const std::string& name, const std::string& sub) {
    EXPECT_TRUE(MakeFolders(adv + sub)) << "creating a folder";
    SetRegistryString(kCu, kView32, key, name, adv + sub);
  };
  auto bytes = [&](const std::string& key, const std::string& name, DWORD type, const std::string& data) {
    SetRegistryValue(kCu, kView32, key, name, type, data.data(), static_cast<DWORD>(data.size()));
  };

  // A chain 30 levels deep: the walk enters 19 levels and goes on with the
  // siblings after refusing to go deeper.
  std::string key = kMaker;
  for (int level = 1; level <= 30; ++level) {
    char name[8];
    wsprintfA(name, "d%02d", level);
    key += "\\";
    key += name;
    if (level == 1 || level == 19 || level == 20 || level == 30) folder(key, "Plugin", std::string("deep") + (name + 1));
    if (level == 18) folder(key + "\\e19", "Plugin", "sib19");
    if (level == 19) folder(key + "\\e20", "Plugin", "sib20");
  }

  // The longest key names, twice, past the 400-character key path.
  const std::string k255(LongestKeyName(kCu, kMaker), 'k');
  const std::string longKey = kMaker + "\\" + k255;
  folder(longKey, "plugin", "long1");
  folder(longKey, "plug" + std::string(251, 'v'), "longdescriptor");
  folder(longKey + "\\" + k255, "plugin", "beyondpath");
  folder(longKey + "\\ok", "plugin", "longsibling");

  // Value names of 255 characters and longer, then a good one.
  const std::string names = kMaker + "\\names";
  folder(names, "plug" + std::string(251, 'n'), "name255");
  folder(names, "plug" + std::string(296, 'n'), "name300");
  folder(names, "zplug", "afternames");

  // Data of 255 to 300 bytes, with and without terminator.
  const std::string sizes = kMaker + "\\sizes";
  auto padded = [&](const std::string& sub, std::size_t characters) {
    EXPECT_TRUE(MakeFolders(adv + sub)) << "creating a folder";
    std::string text = adv + sub + "\\";
    text.resize(characters, 'x');
    return text;
  };
  bytes(sizes, "a_plug", REG_SZ, padded("data255", 254) + '\0');
  bytes(sizes, "b_plug", REG_SZ, padded("data256", 255) + '\0');
  bytes(sizes, "c_plug", REG_SZ, padded("open256", 256));
  bytes(sizes, "d_plug", REG_SZ, padded("data257", 256) + '\0');
  bytes(sizes, "e_plug", REG_SZ, padded("data300", 299) + '\0');
  folder(sizes, "f_plug", "afterlong");

  // Other types named like folder values; empty data; no terminator.
  const std::string types = kMaker + "\\types";
  for (const char* sub : {"expand", "binary", "multi", "noterm"}) EXPECT_TRUE(MakeFolders(adv + sub)) << "creating a folder";
  bytes(types, "PluginPath", REG_EXPAND_SZ, adv + "expand" + '\0');
  bytes(types, "plugin", REG_BINARY, adv + "binary" + '\0');
  bytes(types, "directory1", REG_DWORD, std::string("C:\\d", 4));
  bytes(types, "plugins", REG_MULTI_SZ, adv + "multi" + '\0' + '\0');
  bytes(types, "plugempty", REG_SZ, std::string(1, '\0'));
  bytes(types, "plugzero", REG_SZ, "");
  bytes(types, "plugnoterm", REG_SZ, adv + "noterm");
  bytes(types, "plugdrive", REG_SZ, std::string("C:\\") + '\0');
  bytes(types, "plugletters", REG_SZ, std::string("123") + '\0');

  // Bytes 0x80 to 0xFF in key names, value names and data.
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  const std::string highKey = kMaker + "\\\xE9t\xE9";
  bytes(highKey, "plug" + high.substr(0, 60), REG_SZ, high + '\0');
  const bool westernCodePage = GetACP() == 1252;
  if (westernCodePage) folder(highKey, "plug\xE9", "\xE9t\xE9");

  // What the drop-down shows: the root title-cased, then each good folder.
  std::string shownRoot = root + "Adv\\";
  for (std::size_t i = 0; i < shownRoot.size(); ++i) {
    char& c = shownRoot[i];
    const bool afterNonLetter = i == 0 || !IsCharAlphaA(shownRoot[i - 1]);
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (afterNonLetter && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  std::vector<std::string> expected;
  for (const char* good : {"deep01", "deep19", "sib19", "long1", "longsibling", "name255", "afternames", "data255",
                           "data256", "afterlong", "noterm"})
    expected.push_back(Shown(shownRoot, good));
  if (westernCodePage) expected.push_back(shownRoot + "\xE9t\xE9\\");
  return expected;
}
