// Folders on disk in the test prefix, verified, traced, normalised and stored.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "discovery/CandidateIntake.h"
#include "discovery/FolderCandidates.h"
#include "discovery/RegistryView.h"
#include "discovery/TraceFile.h"
#include "discovery_fixture.h"

namespace {

class CandidateIntake : public ::testing::Test {
 protected:
  void SetUp() override {
    DiscoveryEnvironment::Clean();
    EXPECT_TRUE(MakeFolders("C:\\dtest\\Host\\Plug-ins")) << "creating a folder";
  }
  void TearDown() override { DiscoveryEnvironment::Clean(); }

  // VerifyFolder on a copy; returns the result and what the buffer holds.
  static std::pair<int, std::string> Verify(const std::string& path) {
    char buffer[400];
    std::strcpy(buffer, path.c_str());
    const int found = VerifyFolder(buffer);
    return {found, buffer};
  }

  static void Add(const std::string& path, const char* descriptor = "test") {
    char buffer[400];
    std::strcpy(buffer, path.c_str());
    AddCandidate(buffer, sizeof buffer, descriptor);
  }

  static int Count() {
    int n = 0;
    while (n < kFolderCandidateCount && FolderCandidates[n].Path[0]) ++n;
    return n;
  }
};

TEST_F(CandidateIntake, VerifyFolderTrimsTheLastComponentOnly) {
  EXPECT_EQ(std::make_pair(1, std::string("C:\\dtest\\Host\\Plug-ins")), Verify("C:\\dtest\\Host\\Plug-ins\\"));
  EXPECT_EQ(std::make_pair(1, std::string("C:\\dtest\\Host\\Plug-ins\\")), Verify("C:\\dtest\\Host\\Plug-ins\\Filters"))
      << "a missing last folder is trimmed back to its parent, backslash included";
  EXPECT_EQ(std::make_pair(1, std::string("C:\\dtest\\Host\\Plug-ins")), Verify("C:\\dtest\\Host\\Plug-ins\""))
      << "a closing quote is trimmed";
  EXPECT_EQ(0, Verify("C:\\dtest\\Gone\\Plug-ins").first) << "the search never goes above the parent";
  EXPECT_EQ(0, Verify("C:\\X").first) << "a drive root is never accepted, though C:\\ exists";
  EXPECT_EQ(0, Verify("C:\\").first);
  EXPECT_EQ(0, Verify("").first);
  EXPECT_EQ(0, Verify("C").first);
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Host\\Plug-ins\\Fil")) << "creating a folder";
  EXPECT_EQ(std::make_pair(1, std::string("C:\\dtest\\Host\\Plug-ins\\Fil")), Verify("C:\\dtest\\Host\\Plug-ins\\Filters"))
      << "an existing shorter name is found first";
}

TEST_F(CandidateIntake, NormalisesCutsTheMakerFolderAndDropsDuplicates) {
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Host\\Plug-ins\\mirefold")) << "creating a folder";
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Host\\Plug-ins\\Oldmirefold")) << "creating a folder";
  Add("C:\\dtest\\Host\\Plug-ins\\");
  Add("c:\\DTEST\\HOST\\PLUG-INS");
  Add("C:\\dtest\\host\\plug-ins\\mirefold\\");
  Add("C:\\dtest\\Host\\Plug-ins\\Oldmirefold\\");
  Add("C:\\dtest\\Nowhere\\Plug-ins");
  ASSERT_EQ(2, Count());
  EXPECT_STREQ("C:\\Dtest\\Host\\Plug-Ins\\", FolderCandidates[0].Path);
  EXPECT_STREQ("C:\\Dtest\\Host\\Plug-Ins\\Oldmirefold\\", FolderCandidates[1].Path);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(1, FolderCandidates[i].AppendMakerFolder) << "record " << i;
    EXPECT_EQ(0, FolderCandidates[i].From64BitView) << "record " << i;
  }
  Use64BitRegistryView = 1;
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Host64\\Plug-ins")) << "creating a folder";
  Add("C:\\dtest\\Host64\\Plug-ins");
  EXPECT_EQ(1, FolderCandidates[2].From64BitView) << "the view flag is recorded with the entry";
}

TEST_F(CandidateIntake, TheTwentyFirstFolderIsTracedButNotStored) {
  EXPECT_TRUE(WriteFileText(kTraceFilePath, "")) << "writing a file";
  for (int i = 1; i <= 21; ++i) {
    const std::string folder = std::string("C:\\dtest\\H") + std::to_string(i);
    EXPECT_TRUE(MakeFolders(folder)) << "creating a folder";
    Add(folder, "many");
  }
  EXPECT_EQ(20, Count());
  EXPECT_STREQ("C:\\Dtest\\H20\\", FolderCandidates[19].Path);
  const std::string trace = ReadFileText(kTraceFilePath);
  EXPECT_NE(std::string::npos, trace.find("x32 many  C:\\dtest\\H21\r\n")) << "trace:\n" << trace;
}

TEST_F(CandidateIntake, TraceFileIsAppendedByteForByte) {
  EXPECT_TRUE(WriteFileText(kTraceFilePath, "")) << "writing a file";
  EXPECT_TRUE(MakeFolders("C:\\dtest\\Two\\Plug-ins")) << "creating a folder";
  Add("C:\\dtest\\Host\\Plug-ins\\Filters", "HKEY_LOCAL_MACHINE  software\\mirefold  plugin  ");
  Use64BitRegistryView = 1;
  Add("c:\\dtest\\two\\plug-ins\\", "shell");
  Add("C:\\dtest\\Two\\Plug-ins", "again");  // a duplicate is traced too
  Use64BitRegistryView = 0;
  Add("C:\\dtest\\Missing\\Plug-ins", "missing");  // not verified: no line
  const std::string expected =
      "\r\n\r\nWow64\r\n"
      "x32 HKEY_LOCAL_MACHINE  software\\mirefold  plugin    C:\\dtest\\Host\\Plug-ins\\\r\n"
      "x64 shell  c:\\dtest\\two\\plug-ins\r\n"
      "x64 again  C:\\dtest\\Two\\Plug-ins\r\n";
  EXPECT_EQ(expected, ReadFileText(kTraceFilePath));

  // A second run appends its own header after what is there.
  ResetFolderCandidates();
  Add("C:\\dtest\\Host\\Plug-ins", "next");
  EXPECT_EQ(expected + "\r\n\r\nWow64\r\nx32 next  C:\\dtest\\Host\\Plug-ins\r\n", ReadFileText(kTraceFilePath));
}

TEST_F(CandidateIntake, NoTraceFileIsCreated) {
  Add("C:\\dtest\\Host\\Plug-ins");
  EXPECT_EQ(1, Count()) << "tracing is optional; the folder is still stored";
  EXPECT_FALSE(Exists(kTraceFilePath)) << "c:\\inst581.txt was created";
}

TEST_F(CandidateIntake, TraceRefusesAHardLinkedFile) {
  const char* victim = "C:\\dtest\\victim.txt";
  EXPECT_TRUE(WriteFileText(victim, "precious")) << "writing a file";
  ASSERT_TRUE(CreateHardLinkA(kTraceFilePath, victim, nullptr)) << "error " << GetLastError();
  Add("C:\\dtest\\Host\\Plug-ins");
  EXPECT_EQ("precious", ReadFileText(victim)) << "the installer wrote through a planted hard link";
  EXPECT_EQ(1, Count());
}

TEST_F(CandidateIntake, TraceRefusesASymbolicLink) {
  const char* victim = "C:\\dtest\\victim.txt";
  EXPECT_TRUE(WriteFileText(victim, "precious")) << "writing a file";
  if (!CreateSymbolicLinkA(kTraceFilePath, victim, 0))
    GTEST_SKIP() << "this system makes no symbolic links (error " << GetLastError() << ")";
  Add("C:\\dtest\\Host\\Plug-ins");
  EXPECT_EQ("precious", ReadFileText(victim)) << "the installer wrote through a planted symbolic link";
}

TEST_F(CandidateIntake, TraceRefusesAFolderOfThatName) {
  ASSERT_TRUE(CreateDirectoryA(kTraceFilePath, nullptr));
  Add("C:\\dtest\\Host\\Plug-ins");
  EXPECT_EQ(1, Count());
  RemoveDirectoryA(kTraceFilePath);
}

}  // namespace
