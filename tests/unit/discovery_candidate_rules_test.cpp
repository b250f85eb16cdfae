// The rules that decide which registry strings become candidate folders and
// in which form: the value test, the "where found" text, the command-line
// reduction, the candidate normalisation, the list itself and the walk's
// key-path stack.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "discovery/CandidateForm.h"
#include "discovery/CommandLineFolder.h"
#include "discovery/FolderCandidates.h"
#include "discovery/FoundAt.h"
#include "discovery/KeyPathStack.h"
#include "discovery/PluginFolderValue.h"
#include "tests/support/GuardedText.h"

namespace {

struct ValueCase {
  const char* keyPath;
  const char* name;
  const char* data;
  const char* hostWord;
  bool taken;
  const char* dataAfter;  // only checked for taken values
};

TEST(IsPluginFolderValue, TakesFolderValuesOfTheRightHosts) {
  const ValueCase cases[] = {
      {"software\\jasc\\paint shop pro\\8\\prefs", "Directory2", "C:\\Tools\\Paint\\Filters", "paint", true, "C:\\Tools\\Paint\\Filters"},
      {"software\\jasc\\paint shop pro\\8\\prefs", "DIRECTORY3", "C:\\X", "paint", true, "C:\\X"},
      {"software\\jasc\\paint shop pro\\8\\prefs", "directory4", "C:\\X", "paint", false, nullptr},
      {"software\\adobe\\acrobat\\10.0", "PluginPath", "C:\\Plug", "photoshop", false, nullptr},
      {"software\\adobe\\photoshop\\60.0\\pluginpath", "", "C:\\PS\\Plug-ins\\", "photoshop", true, "C:\\PS\\Plug-ins\\"},
      {"Software\\Adobe\\Photoshop\\60.0", "PluginPath", "\"C:\\Plug-ins\"", "photoshop", true, "C:\\Plug-ins\""},
      {"software\\adobe\\photoshop\\60.0", "ApplicationPath", "C:\\PS\\", "photoshop", false, nullptr},
      {"software\\mirefold\\irelief", "Folder", "C:\\Plug", "", false, nullptr},
      {"software\\mirefold\\irelief", "MyPlugFolder", "  C:\\Plug", "", true, "C:\\Plug"},
      {"software\\mirefold\\irelief", "plug", "\\\\server\\share", "", false, nullptr},
      {"software\\mirefold\\irelief", "plug", "123", "", false, nullptr},
      {"software\\mirefold\\irelief", "plug", "", "", false, nullptr},
      {"software\\mirefold\\irelief", "plug", "C", "", false, nullptr},
      {"software\\xara\\xarax\\plugins", "x", "D:relative", "xarax", true, "D:relative"},
  };
  for (const ValueCase& c : cases) {
    char keyPath[400], name[256], data[256];
    std::strcpy(keyPath, c.keyPath);
    std::strcpy(name, c.name);
    std::strcpy(data, c.data);
    EXPECT_EQ(c.taken, IsPluginFolderValue(keyPath, name, data, c.hostWord))
        << "key " << c.keyPath << ", value " << c.name << " = " << c.data;
    if (c.taken) {
      EXPECT_STREQ(c.dataAfter, data) << "data of " << c.name;
    }
  }
}

TEST(IsPluginFolderValue, LowerCasesThePathAndTheNameOnlyWhenItDecides) {
  char keyPath[400] = "Software\\Adobe\\Photoshop\\60.0\\PluginPath";
  char name[256] = "Path";
  char data[256] = "C:\\PS";
  EXPECT_TRUE(IsPluginFolderValue(keyPath, name, data, "photoshop"));
  EXPECT_STREQ("software\\adobe\\photoshop\\60.0\\pluginpath", keyPath);
  EXPECT_STREQ("Path", name) << "the key path alone decided";

  std::strcpy(keyPath, "Software\\Jasc\\Paint Shop Pro");
  std::strcpy(name, "Directory1");
  EXPECT_TRUE(IsPluginFolderValue(keyPath, name, data, "paint"));
  EXPECT_STREQ("directory1", name);
}

TEST(FormatFoundAt, HivePathAndNameEachFollowedByTwoBlanks) {
  char out[400];
  ASSERT_TRUE(FormatFoundAt(out, sizeof out, "HKEY_CURRENT_USER ", "software\\jasc\\prefs", "directory2"));
  EXPECT_STREQ("HKEY_CURRENT_USER   software\\jasc\\prefs  directory2  ", out);
  EXPECT_EQ(' ', out[19]);
  EXPECT_EQ('s', out[20]) << "the key path starts at column 21";

  const std::string path(400 - 18 - 6 - 1, 'k');  // with an empty name: exactly 399 characters
  ASSERT_TRUE(FormatFoundAt(out, sizeof out, "HKEY_LOCAL_MACHINE", path.c_str(), ""));
  EXPECT_EQ(399u, std::strlen(out));
  EXPECT_FALSE(FormatFoundAt(out, sizeof out, "HKEY_LOCAL_MACHINE", path.c_str(), "n"));
  EXPECT_STREQ("", out) << "a text that does not fit is not cut";
}

TEST(FolderFromCommandLine, ReducesToTheProgramFolder) {
  char text[400];
  std::strcpy(text, "C:\\Program Files\\Fireworks 8\\Fireworks.exe");
  EXPECT_TRUE(FolderFromCommandLine(text));
  EXPECT_STREQ("C:\\Program Files\\Fireworks 8\\", text);
  std::strcpy(text, "\"C:\\Program Files\\Editor\\editor.exe\" \"%1\"");
  EXPECT_TRUE(FolderFromCommandLine(text));
  EXPECT_STREQ("C:\\Program Files\\Editor\\", text);
  std::strcpy(text, "editor.exe %1");
  EXPECT_FALSE(FolderFromCommandLine(text));
  std::strcpy(text, "");
  EXPECT_FALSE(FolderFromCommandLine(text));
  std::strcpy(text, "\"\\\\srv\\ed.exe\"");
  EXPECT_FALSE(FolderFromCommandLine(text)) << "a network path has no drive letter";
}

std::string Normalised(const std::string& in, bool expectFits = true) {
  GuardedText buffer(kCandidatePathCapacity, in);
  EXPECT_EQ(expectFits, NormaliseCandidate(buffer.data(), kCandidatePathCapacity)) << in;
  EXPECT_EQ(-1, buffer.FirstTouchedGuard()) << "sentinel byte after the buffer";
  return buffer.text();
}

TEST(NormaliseCandidate, OneFormPerFolder) {
  EXPECT_EQ("C:\\Program Files\\Host\\Plug-Ins\\", Normalised("C:\\Program Files\\Host\\Plug-ins"));
  EXPECT_EQ(Normalised("c:\\HOST\\PLUG-INS"), Normalised("C:\\host\\plug-ins\\"));
}

TEST(NormaliseCandidate, MakerFolderIsCutOnlyAfterABackslash) {
  EXPECT_EQ("C:\\Host\\Plug-Ins\\", Normalised("C:\\Host\\Plug-ins\\mirefold\\"));
  EXPECT_EQ("C:\\Host\\Plug-Ins\\", Normalised("C:\\Host\\Plug-ins\\MIREFOLD\\Filters"));
  EXPECT_EQ("C:\\Host\\Plug-Ins\\Oldmirefold\\", Normalised("C:\\Host\\Plug-ins\\Oldmirefold\\"));
  EXPECT_EQ("C:\\Amire\\Mirefold\\", Normalised("C:\\Amire\\Mirefold\\")) << "only the first occurrence counts";
  EXPECT_EQ("Mirefold\\", Normalised("mirefold")) << "an occurrence at the very start has no backslash before it";
}

TEST(NormaliseCandidate, EntryWithMakerFolderMustFitTheDropDownBuffer) {
  const std::string longest = "C:\\" + std::string(386, 'a') + "\\";  // 390 characters: 399 with "Mirefold\"
  EXPECT_EQ(390u, Normalised(longest).size());
  Normalised("C:\\" + std::string(387, 'a') + "\\", false);
  Normalised("C:\\" + std::string(387, 'a'), false);
  Normalised("C:\\" + std::string(796, 'a'), false);  // 799 characters: no room for the backslash
  char exact[6] = "C:\\ab";
  EXPECT_FALSE(NormaliseCandidate(exact, 6)) << "the backslash does not fit a 6-byte buffer";
}

class FolderCandidatesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetFolderCandidates(); }
  void TearDown() override { ResetFolderCandidates(); }
};

TEST_F(FolderCandidatesTest, StartsEmptyWithMakerFolderFlagSet) {
  EXPECT_TRUE(FolderCandidatesEmpty());
  for (int i = 0; i < kFolderCandidateCount; ++i) {
    EXPECT_STREQ("", FolderCandidates[i].Path) << "record " << i;
    EXPECT_EQ(1, FolderCandidates[i].AppendMakerFolder) << "record " << i;
    EXPECT_EQ(0, FolderCandidates[i].From64BitView) << "record " << i;
  }
}

TEST_F(FolderCandidatesTest, StoresInOrderOnceEachUpToTwenty) {
  EXPECT_EQ(StoreResult::Stored, StoreCandidate("C:\\A\\", 1));
  EXPECT_EQ(StoreResult::Stored, StoreCandidate("C:\\a\\", 0)) << "the comparison is exact";
  EXPECT_EQ(StoreResult::Duplicate, StoreCandidate("C:\\A\\", 0));
  EXPECT_STREQ("C:\\A\\", FolderCandidates[0].Path);
  EXPECT_EQ(1, FolderCandidates[0].From64BitView) << "the first store wins";
  EXPECT_EQ(0, FolderCandidates[1].From64BitView);
  for (int i = 2; i < kFolderCandidateCount; ++i)
    EXPECT_EQ(StoreResult::Stored, StoreCandidate(("C:\\F" + std::to_string(i) + "\\").c_str(), 0));
  EXPECT_EQ(StoreResult::ListFull, StoreCandidate("C:\\Last\\", 0));
  EXPECT_EQ(StoreResult::Duplicate, StoreCandidate("C:\\F19\\", 0));
  EXPECT_STREQ("C:\\F19\\", FolderCandidates[19].Path);
}

TEST_F(FolderCandidatesTest, DuplicatesAreJudgedByTheSystemsComparison) {
  // lstrcmpA compares by the user's locale: on Windows "Stra\xDF" "e" (sharp s) and "Strasse" are the same text.
  EXPECT_EQ(StoreResult::Stored, StoreCandidate("C:\\Strasse\\", 0));
#ifdef _WIN32
  EXPECT_EQ(StoreResult::Duplicate, StoreCandidate("C:\\Stra\xDF" "e\\", 0));
#else
  EXPECT_EQ(StoreResult::Stored, StoreCandidate("C:\\Stra\xDF" "e\\", 0)) << "natively the bytes decide";
#endif
  EXPECT_EQ(StoreResult::Stored, StoreCandidate("C:\\STRASSE\\", 0)) << "letter case still counts";
}

TEST(KeyPathStack, PushAndPopRestoreThePathAndTheIndex) {
  char path[32] = "software\\adobe";
  KeyPathStack stack;
  stack.Reset();
  int index = 4;
  EXPECT_EQ(PushResult::Pushed, stack.Push(path, sizeof path, "photoshop", index));
  EXPECT_STREQ("software\\adobe\\photoshop", path);
  EXPECT_EQ(0, index);
  index = 2;
  EXPECT_EQ(PushResult::Pushed, stack.Push(path, sizeof path, "60", index));
  EXPECT_EQ(2, stack.Pop(path));
  EXPECT_STREQ("software\\adobe\\photoshop", path);
  EXPECT_EQ(4, stack.Pop(path));
  EXPECT_STREQ("software\\adobe", path);
  EXPECT_EQ(-1, stack.Pop(path));
  EXPECT_STREQ("software\\adobe", path) << "popping an empty stack changes nothing";
}

TEST(KeyPathStack, RefusesTheTwentiethLevelAndPathsThatDoNotFit) {
  char path[400] = "r";
  KeyPathStack stack;
  stack.Reset();
  int index = 0;
  for (int level = 1; level <= kKeyPathStackDepth; ++level)
    ASSERT_EQ(PushResult::Pushed, stack.Push(path, sizeof path, "k", index)) << "level " << level;
  const std::string before = path;
  index = 7;
  EXPECT_EQ(PushResult::TooDeep, stack.Push(path, sizeof path, "k", index));
  EXPECT_EQ(before, path);
  EXPECT_EQ(7, index);
  EXPECT_EQ(18, stack.top);

  GuardedText small(8, "abc");
  stack.Reset();
  index = 3;
  EXPECT_EQ(PushResult::Pushed, stack.Push(small.data(), 8, "def", index));  // "abc\def": 7 characters
  EXPECT_EQ(PushResult::TooLong, stack.Push(small.data(), 8, "", index)) << "even an empty name needs its backslash";
  EXPECT_STREQ("abc\\def", small.data());
  EXPECT_EQ(-1, small.FirstTouchedGuard()) << "sentinel byte after the buffer";
  EXPECT_EQ(3, stack.Pop(small.data()));
  EXPECT_STREQ("abc", small.data());
}

}  // namespace
