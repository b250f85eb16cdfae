// The installer built from the end-to-end tests' own payload list
// (payload-test/test.list): every file arrives byte for byte under its name,
// preset blocks arrive as registry values and never as files, and each path
// rule picks its types.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "EndToEnd.h"
#include "payload/ResourceName.h"

namespace {

const std::string kRoot = kTestRoot;
const std::string kSource = std::string(PAYLOAD_TEST_DIR) + "\\";
const char kNotes[] = "Read Me - Photographer's Notes.txt";
const char kGrid[] = "sample_Grid MIXEDcase.dat";

struct PresetBlock {
  int type;
  const char* source;
  const char* key;  // below HKEY_CURRENT_USER
  const char* prefix;
  int records;
  int size;
};
const PresetBlock kBlocks[] = {
    {3000, "sketches.bin", "Software\\Mirefold\\QuillWorks", "Portrait", 12, 64},
    {3001, "bouquets.bin", "Software\\Mirefold\\Tessera", "Bouquet", 16, 128},
    {3001, "patterns.bin", "Software\\Mirefold\\Tessera", "Patterns", 12, 128},
};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR into) {
  char decoded[kResourceNameCapacity] = "";
  if (!IS_INTRESOURCE(name) && std::strlen(name) < sizeof decoded) std::strcpy(decoded, name);
  reinterpret_cast<std::vector<std::string>*>(into)->push_back(DecodeResourceName(decoded));
  return TRUE;
}

class OwnPayload : public EndToEnd {
 protected:
  std::string AddHost(const char* subkey, const std::string& folder) {
    EXPECT_TRUE(MakeFolders(kRoot + folder)) << folder;
    RegisterMakerFolder(subkey, (kRoot + folder).c_str());
    return kRoot + folder + "\\Mirefold\\";
  }

  static Bytes Source(const char* name) {
    Bytes bytes;
    EXPECT_TRUE(ReadFileBytes(kSource + name, &bytes)) << kSource << name;
    return bytes;
  }

  // Installs into the only detected folder and waits for the completion screen.
  void Install() {
    InstallerSession s;
    Launch(s);
    ClickButton(s, layout_.installButton, install_);
    if (!WaitForScreen(s, [](const Picture& p) { return Shows(p, finish_, layout_.finishButton); })) {
      HWND box = s.FindMessageBox();
      ADD_FAILURE() << "no completion screen; " << (box ? "the installer says: " + InstallerSession::MessageText(box)
                                                        : std::string("no message box"));
      return;
    }
    ClickButton(s, layout_.finishButton, finish_);
    ASSERT_TRUE(s.WaitForExit()) << "the installer did not end";
    EXPECT_EQ(0u, s.ExitCode());
  }

  // The folder holds exactly these files, byte for byte.
  void ExpectFiles(const std::string& folder, bool types3000, bool types3001) {
    std::vector<std::pair<std::string, Bytes>> expected;
    if (types3000) expected.push_back({"iRelief.8bf", plugin32_});
    if (types3001) expected.push_back({"iRelief(X64).8bf", plugin64_});
    expected.push_back({kNotes, Source("notes.txt")});
    if (types3000) expected.push_back({kGrid, Source("grid.dat")});

    std::vector<std::string> names, seen = FilesIn(folder);
    for (const auto& file : expected) names.push_back(file.first);
    std::sort(names.begin(), names.end());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(names, seen) << "files in " << folder << " (no preset block is a file)";
    for (const auto& [name, bytes] : expected) {
      Bytes now;
      ASSERT_TRUE(ReadFileBytes(folder + name, &now)) << name;
      EXPECT_TRUE(now == bytes) << name << ": " << now.size() << " bytes, expected the " << bytes.size()
                                << " bytes of its source";
    }
  }

  // Every record of the blocks of the installed types, and nothing of the others.
  void ExpectPresets(bool types3000, bool types3001) {
    for (const PresetBlock& block : kBlocks) {
      const bool installed = block.type == 3000 ? types3000 : types3001;
      const Bytes source = Source(block.source);
      ASSERT_GE(source.size(), static_cast<std::size_t>(block.records * block.size)) << block.source;
      std::vector<std::string> names = ValueNames(block.key);
      const auto prefixed = std::count_if(names.begin(), names.end(), [&](const std::string& n) {
        return n.compare(0, std::strlen(block.prefix), block.prefix) == 0;
      });
      EXPECT_EQ(installed ? block.records : 0, prefixed) << block.prefix << " values under HKCU\\" << block.key;
      if (!installed) continue;
      for (int n = 1; n <= block.records; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%02d", block.prefix, n);
        Bytes value;
        ASSERT_TRUE(ReadBinaryValue(block.key, name, &value)) << "HKCU\\" << block.key << "\\" << name;
        const Bytes want(source.begin() + (n - 1) * block.size, source.begin() + n * block.size);
        EXPECT_TRUE(value == want) << name << ": " << value.size() << " bytes, expected record " << n << " of "
                                   << block.source;
      }
    }
  }
};

TEST_F(OwnPayload, ResourcesOfATypeComeInTheListsOrder) {
  std::vector<std::string> names;
  EnumResourceNamesA(installer_, MAKEINTRESOURCEA(3000), CollectName, reinterpret_cast<LONG_PTR>(&names));
  const std::vector<std::string> want3000 = {"iRelief.8bf", kNotes, kGrid, "Portraits PresetsSketchesbin"};
  EXPECT_EQ(want3000, names) << "type 3000";
  names.clear();
  EnumResourceNamesA(installer_, MAKEINTRESOURCEA(3001), CollectName, reinterpret_cast<LONG_PTR>(&names));
  const std::vector<std::string> want3001 = {"iRelief(X64).8bf", kNotes, "Garden PresetsBouquetsbin",
                                             "Tiles PresetsPatternsbin"};
  EXPECT_EQ(want3001, names) << "type 3001";
}

TEST_F(OwnPayload, AFolderWithNeitherTextGetsBothTypes) {
  const std::string folder = AddHost("Host1", "Program Files\\Alpha\\Plug-ins");
  Install();
  ExpectFiles(folder, true, true);
  ExpectPresets(true, true);
}

TEST_F(OwnPayload, A64FolderGetsType3001Only) {
  const std::string folder = AddHost("Host1", "Program Files\\Gamma (64 Bit)\\Plug-ins");
  Install();
  ExpectFiles(folder, false, true);
  ExpectPresets(false, true);
}

TEST_F(OwnPayload, AnX86FolderGetsType3000Only) {
  const std::string folder = AddHost("Host1", "Program Files (x86)\\Beta\\Plug-ins");
  Install();
  ExpectFiles(folder, true, false);
  ExpectPresets(true, false);
}

}  // namespace
