// The whole scan sequence against registry keys in the shapes real hosts
// write, in both hives and both registry views.
#include <gtest/gtest.h>

#include <string>

#include "discovery/FolderCandidates.h"
#include "discovery/HostDiscovery.h"
#include "discovery/RegistryView.h"
#include "discovery/TraceFile.h"
#include "discovery_fixture.h"

namespace {

const char kPs64[] = "C:\\Program Files\\Adobe\\Adobe Photoshop CS6 (64 Bit)";
const char kPs32[] = "C:\\Program Files (x86)\\Adobe\\Adobe Photoshop CS6";
const char kPse[] = "C:\\Program Files (x86)\\Adobe\\Photoshop Elements 10";

class HostDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    DiscoveryEnvironment::Clean();
    RemoveTree(kPs64);
    RemoveTree(kPs32);
    RemoveTree(kPse);
  }
  void TearDown() override {
    DiscoveryEnvironment::Clean();
    RemoveTree(kPs64);
    RemoveTree(kPs32);
    RemoveTree(kPse);
  }
};

struct Expected {
  const char* path;
  int from64;
};

void ExpectCandidates(const Expected* expected, int count) {
  for (int i = 0; i < kFolderCandidateCount; ++i) {
    if (i < count) {
      EXPECT_STREQ(expected[i].path, FolderCandidates[i].Path) << "record " << i;
      EXPECT_EQ(expected[i].from64, FolderCandidates[i].From64BitView) << "record " << i << " " << expected[i].path;
      EXPECT_EQ(1, FolderCandidates[i].AppendMakerFolder) << "record " << i;
    } else {
      EXPECT_STREQ("", FolderCandidates[i].Path) << "record " << i << " should be free";
    }
  }
}

TEST_F(HostDiscovery, FindsEveryHostInTheDropDownOrder) {
  const HKEY cu = HKEY_CURRENT_USER, lm = HKEY_LOCAL_MACHINE;
  // The maker's own key, both hives; the machine-wide copy repeats a folder.
  EXPECT_TRUE(MakeFolders("C:\\dtest\\MakerHost\\Plug-ins\\Mirefold")) << "creating a folder";
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Legacy Host\\Filters")) << "creating a folder";
  SetRegistryString(cu, kView32, "Software\\Mirefold\\iRelief", "PluginFolder", "C:\\dtest\\MakerHost\\Plug-ins\\Mirefold\\");
  SetRegistryString(lm, kView32, "Software\\Mirefold\\iRelief", "Directory1", "C:\\dtest\\Legacy Host\\Filters");
  SetRegistryString(lm, kView32, "Software\\Mirefold\\iRelief", "PluginDir", "c:\\DTEST\\makerhost\\plug-ins");

  // Photoshop CS6: a 64-bit build in the 64-bit view, a 32-bit build in the
  // 32-bit view, each with a PluginPath subkey under its version key.
  EXPECT_TRUE(MakeFolders(std::string(kPs64) + "\\Plug-ins")) << "creating a folder";
  EXPECT_TRUE(MakeFolders(std::string(kPs32) + "\\Plug-ins")) << "creating a folder";
  EXPECT_TRUE(MakeFolders(std::string(kPse) + "\\Plug-Ins")) << "creating a folder";
  SetRegistryString(lm, kView64, "Software\\Adobe\\Photoshop\\60.0\\PluginPath", "", std::string(kPs64) + "\\Plug-ins\\");
  SetRegistryString(lm, kView64, "Software\\Adobe\\Photoshop\\60.0", "ApplicationPath", std::string(kPs64) + "\\");
  SetRegistryString(lm, kView32, "Software\\Adobe\\Photoshop\\60.0\\PluginPath", "", std::string(kPs32) + "\\Plug-ins\\");
  SetRegistryString(lm, kView32, "Software\\Adobe\\Photoshop\\60.0", "ApplicationPath", std::string(kPs32) + "\\");
  // Photoshop Elements: the value directly under the version key.
  SetRegistryString(lm, kView32, "Software\\Adobe\\Photoshop Elements\\10.0", "PluginPath", std::string(kPse) + "\\Plug-Ins");
  // Per-user settings: no folder in them.
  SetRegistryString(cu, kView32, "Software\\Adobe\\Photoshop\\60.0", "ColorPickerDialog", "0");
  SetRegistryString(cu, kView32, "Software\\Adobe\\Photoshop\\60.0\\Workspaces", "LastWorkspace", "Essentials");
  // A reader under the same vendor, whose plug-ins are no filters.
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Acrobat\\plug_ins")) << "creating a folder";
  SetRegistryString(lm, kView32, "Software\\Adobe\\Acrobat Reader\\10.0\\InstallPath", "PluginPath", "C:\\dtest\\Acrobat\\plug_ins");

  EXPECT_TRUE(MakeFolders("C:\\dtest\\Corel\\PSP X4\\PlugIns")) << "creating a folder";
  SetRegistryString(lm, kView32, "Software\\Corel\\Corel PaintShop Pro\\X4\\PlugIns", "Dir0", "C:\\dtest\\Corel\\PSP X4\\PlugIns");
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Jasc\\Filters")) << "creating a folder";
  SetRegistryString(cu, kView32, "Software\\Jasc\\Paint Shop Pro\\8\\File Locations", "Directory2", "C:\\dtest\\Jasc\\Filters");
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Xara\\Plugins")) << "creating a folder";
  SetRegistryString(lm, kView32, "Software\\Xara\\XaraX\\Filters", "PlugInPath", "\"C:\\dtest\\Xara\\Plugins\"");

  EXPECT_TRUE(MakeFolders("C:\\dtest\\Fireworks 8\\Plug-ins")) << "creating a folder";
  SetRegistryString(lm, kView32, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe", "",
                    "C:\\dtest\\Fireworks 8\\Fireworks.exe");
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Editor 3\\Plugin")) << "creating a folder";
  SetRegistryString(lm, kView32, "Software\\Classes\\PI3.Image\\shell\\open\\command", "",
                    "\"C:\\dtest\\Editor 3\\editor.exe\" \"%1\"");

  EXPECT_TRUE(WriteFileText(kTraceFilePath, "")) << "writing a file";
  DiscoverHostFolders();

  const Expected expected[] = {
      {"C:\\Dtest\\Makerhost\\Plug-Ins\\", 0},
      {"C:\\Dtest\\Legacy Host\\Filters\\", 0},
      {"C:\\Program Files\\Adobe\\Adobe Photoshop Cs6 (64 Bit)\\Plug-Ins\\", 1},
      {"C:\\Program Files (X86)\\Adobe\\Adobe Photoshop Cs6\\Plug-Ins\\", 0},
      {"C:\\Program Files (X86)\\Adobe\\Photoshop Elements 10\\Plug-Ins\\", 0},
      {"C:\\Dtest\\Corel\\Psp X4\\Plugins\\", 0},
      {"C:\\Dtest\\Jasc\\Filters\\", 0},
      {"C:\\Dtest\\Xara\\Plugins\\", 0},
      {"C:\\Dtest\\Fireworks 8\\Plug-Ins\\", 0},
      {"C:\\Dtest\\Editor 3\\Plugin\\", 0},
  };
  ExpectCandidates(expected, sizeof expected / sizeof expected[0]);
  EXPECT_EQ(0, Use64BitRegistryView) << "the sequence leaves the flag at 0";

  // The trace shows every verified folder with the view it came from: the
  // 64-bit walk saw only the 64-bit build, the later walk only the 32-bit ones.
  const std::string expectedTrace =
      "\r\n\r\nWow64\r\n"
      "x32 HKEY_CURRENT_USER   software\\mirefold\\irelief  pluginfolder    C:\\dtest\\MakerHost\\Plug-ins\\Mirefold\r\n"
      "x32 HKEY_LOCAL_MACHINE  software\\mirefold\\irelief  directory1    C:\\dtest\\Legacy Host\\Filters\r\n"
      "x32 HKEY_LOCAL_MACHINE  software\\mirefold\\irelief  plugindir    c:\\DTEST\\makerhost\\plug-ins\r\n"
      "x64 HKEY_LOCAL_MACHINE  software\\adobe\\photoshop\\60.0\\pluginpath      "
      "C:\\Program Files\\Adobe\\Adobe Photoshop CS6 (64 Bit)\\Plug-ins\r\n"
      "x32 HKEY_LOCAL_MACHINE  software\\adobe\\photoshop\\60.0\\pluginpath      "
      "C:\\Program Files (x86)\\Adobe\\Adobe Photoshop CS6\\Plug-ins\r\n"
      "x32 HKEY_LOCAL_MACHINE  software\\adobe\\photoshop elements\\10.0  pluginpath    "
      "C:\\Program Files (x86)\\Adobe\\Photoshop Elements 10\\Plug-Ins\r\n"
      "x32 HKEY_LOCAL_MACHINE  software\\corel\\corel paintshop pro\\x4\\plugins  Dir0    C:\\dtest\\Corel\\PSP X4\\PlugIns\r\n"
      "x32 HKEY_CURRENT_USER   software\\jasc\\paint shop pro\\8\\file locations  directory2    C:\\dtest\\Jasc\\Filters\r\n"
      "x32 HKEY_LOCAL_MACHINE  software\\xara\\xarax\\filters  pluginpath    C:\\dtest\\Xara\\Plugins\r\n"
      "x32 appath  C:\\dtest\\Fireworks 8\\plug-ins\r\n"
      "x32 shell  C:\\dtest\\Editor 3\\plugin\r\n";
  EXPECT_EQ(expectedTrace, ReadFileText(kTraceFilePath));
}

TEST_F(HostDiscovery, NothingInstalledGivesAnEmptyList) {
  DiscoverHostFolders();
  EXPECT_TRUE(FolderCandidatesEmpty());
  EXPECT_FALSE(Exists(kTraceFilePath));
}

TEST_F(HostDiscovery, AppFoldersThatAreNoFoldersAreLeftOut) {
  SetRegistryString(HKEY_LOCAL_MACHINE, kView32, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe",
                    "", "fireworks.exe");
  SetRegistryValue(HKEY_LOCAL_MACHINE, kView32, "Software\\Classes\\PI3.Image\\shell\\open\\command", "", REG_EXPAND_SZ,
                   "C:\\dtest\\x.exe", 15);
  EXPECT_TRUE(MakeFolders("C:\\dtest\\plugin")) << "creating a folder";
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Fireworks\\Plug-ins")) << "creating a folder";
  SetRegistryString(HKEY_LOCAL_MACHINE, kView32, "Software\\Mirefold\\App Paths\\fireworks.exe", "",
                    "C:\\dtest\\Fireworks\\Fireworks.exe");  // the right shape in the wrong place
  DiscoverHostFolders();
  EXPECT_TRUE(FolderCandidatesEmpty()) << "found " << FolderCandidates[0].Path;
}

}  // namespace
