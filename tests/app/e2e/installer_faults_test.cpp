// Faults injected under the real installer exe: a full disk, a plug-in held
// open by another running program (for good, or for a moment only), a
// read-only plug-in, a read-only folder, a file where the folder should be,
// and a folder named with bytes 0x80 to 0xFF. After a failure the old files are byte for byte as they were, no
// temporary file is left, the user is told, and the window stays in the
// choosing phase.
#include <cstdio>

#include "EndToEnd.h"
#include "tests/support/FillDrive.h"

namespace {

const std::string kRoot = kTestRoot;
const Bytes kOld32(2000, 'o');
const Bytes kOld64(3000, 'x');

class Faults : public EndToEnd {
 protected:
  // A host plug-in folder at folder (which must exist), registered under the
  // maker's key, with an old copy of both plug-ins in its Mirefold\ folder.
  // Returns that folder, ending in a backslash.
  static std::string HostWithOldPlugins(const std::string& folder) {
    const std::string target = folder + "\\Mirefold\\";
    EXPECT_TRUE(MakeFolders(target)) << target;
    EXPECT_TRUE(WriteFileBytes(target + "iRelief.8bf", kOld32));
    EXPECT_TRUE(WriteFileBytes(target + "iRelief(X64).8bf", kOld64));
    RegisterMakerFolder("Host1", folder.c_str());
    return target;
  }

  static void ExpectBytes(const std::string& path, const Bytes& expected, const char* what) {
    Bytes seen;
    ASSERT_TRUE(ReadFileBytes(path, &seen)) << path;
    EXPECT_TRUE(seen == expected) << what << ": " << path << " has " << seen.size() << " bytes, expected "
                                  << expected.size() << (seen.size() == expected.size() ? " (contents differ)" : "");
  }

  static void ExpectNoTemporaryFile(const std::string& folder) {
    for (const std::string& name : FilesIn(folder))
      EXPECT_EQ(std::string::npos, name.find(".tmp")) << "a temporary file was left: " << folder << name;
  }

  // Install, then the message box: returns its text, printed for the record.
  std::string InstallAndReadMessage(const InstallerSession& s, const char* fault) {
    ClickButton(s, layout_.installButton, install_);
    const std::string text = DismissMessageBox(s, 15000);
    std::printf("---- %s: the installer said:\n%s\n----\n", fault, text.c_str());
    EXPECT_NE("", text) << fault << ": no message box";
    return text;
  }

  // Launches the installer, whose first entry must be entry, presses Install
  // and returns the failure message.
  std::string LaunchAndInstallRefused(InstallerSession& s, const std::string& entry, const char* fault) {
    Launch(s);
    const std::vector<std::string> entries = s.Entries();
    EXPECT_TRUE(!entries.empty() && entries[0] == entry) << fault << ": the first entry is not " << entry;
    return InstallAndReadMessage(s, fault);
  }

  // After a refused install: the old plug-ins in target byte for byte, no
  // temporary file, and the window still offering Install.
  void ExpectOldPluginsKept(const InstallerSession& s, const std::string& target, const Bytes& old32,
                            const Bytes& old64, const char* fault) {
    ExpectBytes(target + "iRelief.8bf", old32, fault);
    ExpectBytes(target + "iRelief(X64).8bf", old64, fault);
    ExpectNoTemporaryFile(target);
    ExpectStillChoosing(s);
  }

  void ExpectStillChoosing(const InstallerSession& s) {
    EXPECT_TRUE(s.Running()) << "the installer ended";
    EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, install_, layout_.installButton); }))
        << "still choosing: the Install button is there";
  }

  void ExpectCompletion(const InstallerSession& s) {
    EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, done_, layout_.completionPicture); }))
        << "completion screen";
  }

  // Starts e2e_hold_file on path (see there), and waits until it holds the
  // file. With a release pattern it lets go on its own.
  static ::testing::AssertionResult StartHolder(const std::string& path, const std::string& releasePattern,
                                                PROCESS_INFORMATION* process) {
    // The holder is a program of its own, next to this one.
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string holder = self;
    holder = holder.substr(0, holder.find_last_of('\\') + 1) + "e2e_hold_file.exe";
    std::string command = "\"" + holder + "\" \"" + path + "\"";
    if (!releasePattern.empty()) command += " \"" + releasePattern + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(holder.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process))
      return ::testing::AssertionFailure() << "cannot start " << holder << ", error " << GetLastError();
    const bool holding = WaitUntil([&] {
      HANDLE probe = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
      if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
      return probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    }, 20000);  // a new process can be slow to start on a busy machine
    if (holding) return ::testing::AssertionSuccess();
    TerminateProcess(process->hProcess, 0);
    return ::testing::AssertionFailure() << "the holder did not open " << path;
  }

  void Close(InstallerSession& s) {
    s.Key(VK_ESCAPE);
    ASSERT_TRUE(s.WaitForExit()) << "the installer did not end";
    EXPECT_EQ(0u, s.ExitCode());
  }
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(Faults, ADiskFullLeavesTheOldPluginsAndNoTemporaryFileAndSaysSo) {
  if (GetDriveTypeA("T:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small disk mapped as T: (mount needs root)";
  RemoveTree("T:\\Host");
  DeleteFileA("T:\\filler");
  ASSERT_TRUE(MakeFolders("T:\\Host\\Plug-ins"));
  const std::string target = HostWithOldPlugins("T:\\Host\\Plug-ins");
  ASSERT_GT(plugin32_.size(), 8192u) << "the plug-in must be larger than what is left free";
  FillDrive("T:\\", "T:\\filler", 4096);

  InstallerSession s;
  const std::string text = LaunchAndInstallRefused(s, "T:\\Host\\Plug-Ins\\Mirefold\\", "disk full");
  EXPECT_TRUE(Contains(text, "the disk is full")) << text;
  EXPECT_TRUE(Contains(text, "T:\\Host\\Plug-Ins\\Mirefold\\")) << text;
  EXPECT_TRUE(Contains(text, "iRelief.8bf")) << text;
  ExpectOldPluginsKept(s, target, kOld32, kOld64, "disk full");

  // Space freed, the same Install goes through.
  ASSERT_TRUE(DeleteFileA("T:\\filler"));
  ClickButton(s, layout_.installButton, install_);
  ExpectCompletion(s);
  ExpectBytes(target + "iRelief.8bf", plugin32_, "after freeing space");
  ExpectBytes(target + "iRelief(X64).8bf", plugin64_, "after freeing space");
  Close(s);
  RemoveTree("T:\\Host");
}

TEST_F(Faults, APluginHeldOpenByAnotherProgramStaysAsItWasUntilThatProgramEnds) {
  ASSERT_TRUE(MakeFolders(kRoot + "Held\\Plug-ins"));
  const std::string target = HostWithOldPlugins(kRoot + "Held\\Plug-ins");
  const std::string held = target + "iRelief(X64).8bf";

  PROCESS_INFORMATION process{};
  ASSERT_TRUE(StartHolder(held, "", &process));

  InstallerSession s;
  Launch(s);
  const std::string text = InstallAndReadMessage(s, "plug-in held open by another process");
  // Replacing a file that another program holds open is refused as "in
  // use" or, by the move itself, as "access denied"; either way the advice
  // says to close the host.
  EXPECT_TRUE(Contains(text, "iRelief(X64).8bf: in use by another program") ||
              Contains(text, "iRelief(X64).8bf: access denied"))
      << text;
  EXPECT_FALSE(Contains(text, "iRelief.8bf:")) << "the free file was written:\n" << text;
  EXPECT_TRUE(Contains(text, "close the host application")) << text;
  ExpectBytes(target + "iRelief.8bf", plugin32_, "the file nobody holds");
  ExpectNoTemporaryFile(target);
  ExpectStillChoosing(s);

  // The holder ends: the file it held is the old one, and Install goes through.
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ExpectBytes(held, kOld64, "held open");
  ClickButton(s, layout_.installButton, install_);
  ExpectCompletion(s);
  ExpectBytes(held, plugin64_, "once the holder ended");
  Close(s);
}

// A virus scanner opens a freshly written file for a moment: the move over
// it is tried again, and the install goes through without a message.
TEST_F(Faults, APluginHeldForAMomentIsReplacedOnceItIsLetGo) {
  ASSERT_TRUE(MakeFolders(kRoot + "Moment\\Plug-ins"));
  const std::string target = HostWithOldPlugins(kRoot + "Moment\\Plug-ins");
  const std::string held = target + "iRelief(X64).8bf";
  // Let go once the installer's temporary file for it has been there for a
  // moment, so that the first move surely met the held file.
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(StartHolder(held, held + ".*.tmp", &process));

  InstallerSession s;
  Launch(s);
  ClickButton(s, layout_.installButton, install_);
  ExpectCompletion(s);
  EXPECT_EQ(nullptr, s.FindMessageBox()) << "no failure message";
  const bool released = WaitForSingleObject(process.hProcess, 5000) == WAIT_OBJECT_0;
  DWORD holderExit = 99;
  GetExitCodeProcess(process.hProcess, &holderExit);
  if (!released) TerminateProcess(process.hProcess, 0);
  EXPECT_TRUE(released && holderExit == 0) << "the holder never saw the temporary file while holding the plug-in";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ExpectBytes(held, plugin64_, "held for a moment");
  ExpectBytes(target + "iRelief.8bf", plugin32_, "the file nobody held");
  ExpectNoTemporaryFile(target);
  Close(s);
}

TEST_F(Faults, AReadOnlyPluginIsKeptAndReported) {
  ASSERT_TRUE(MakeFolders(kRoot + "Kept\\Plug-ins"));
  const std::string target = HostWithOldPlugins(kRoot + "Kept\\Plug-ins");
  const std::string kept = target + "iRelief.8bf";
  ASSERT_TRUE(SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY));

  InstallerSession s;
  Launch(s);
  const std::string text = InstallAndReadMessage(s, "read-only plug-in file");
  EXPECT_TRUE(Contains(text, "iRelief.8bf: access denied")) << text;
  ExpectBytes(kept, kOld32, "read-only");
  EXPECT_NE(0u, GetFileAttributesA(kept.c_str()) & FILE_ATTRIBUTE_READONLY) << "still read-only";
  ExpectBytes(target + "iRelief(X64).8bf", plugin64_, "the writable file");
  ExpectNoTemporaryFile(target);
  ExpectStillChoosing(s);
  Close(s);
  SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Faults, AReadOnlyFolderKeepsItsPluginsAndIsReported) {
  // R: is a tmpfs remounted read-only: a folder that refuses writes even to
  // root, the user the tests run as.
  if (GetDriveTypeA("R:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no read-only drive mapped as R: (mount needs root)";
  const std::string target = "R:\\Host\\Plug-ins\\Mirefold\\";
  Bytes old32, old64;
  ASSERT_TRUE(ReadFileBytes(target + "iRelief.8bf", &old32));
  ASSERT_TRUE(ReadFileBytes(target + "iRelief(X64).8bf", &old64));
  HANDLE probe = CreateFileA("R:\\Host\\probe", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_EQ(INVALID_HANDLE_VALUE, probe) << "R: is writable";
  RegisterMakerFolder("Host1", "R:\\Host\\Plug-ins");

  InstallerSession s;
  const std::string text = LaunchAndInstallRefused(s, "R:\\Host\\Plug-Ins\\Mirefold\\", "read-only folder");
  EXPECT_TRUE(Contains(text, "iRelief.8bf:")) << text;
  EXPECT_TRUE(Contains(text, "iRelief(X64).8bf:")) << text;
  EXPECT_TRUE(Contains(text, "left as they were")) << text;
  ExpectOldPluginsKept(s, target, old32, old64, "read-only folder");
  Close(s);
}

TEST_F(Faults, AFileWhereTheFolderShouldBeIsLeftAloneAndReported) {
  ASSERT_TRUE(MakeFolders(kRoot + "Clash\\Plug-ins"));
  RegisterMakerFolder("Host1", (kRoot + "Clash\\Plug-ins").c_str());
  const std::string clash = kRoot + "Clash\\Plug-ins\\Mirefold";
  const Bytes user = {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'l', 'd', 'e', 'r'};
  ASSERT_TRUE(WriteFileBytes(clash, user));

  InstallerSession s;
  Launch(s);
  const std::string text = InstallAndReadMessage(s, "a file where the folder should be");
  EXPECT_TRUE(Contains(text, "could not create the folder")) << text;
  EXPECT_TRUE(Contains(text, "a file of that name is in its place")) << text;
  EXPECT_TRUE(Contains(text, "C:\\Setup Test\\Clash\\Plug-Ins\\Mirefold\\")) << text;
  ExpectBytes(clash, user, "the file in the folder's place");
  EXPECT_EQ(0u, GetFileAttributesA(clash.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << "still a file";
  ExpectNoTemporaryFile(kRoot + "Clash\\Plug-ins\\");
  ExpectStillChoosing(s);
  Close(s);
}

TEST_F(Faults, AFolderNamedWithHighBytesIsInstalledInto) {
  if (GetACP() != 1252) GTEST_SKIP() << "the folder names below are Windows-1252; code page " << GetACP();
  const std::string host = kRoot + "Caf\xE9 \x80\xFF\xDC\xA0\xBF\\Plug-ins";
  ASSERT_TRUE(MakeFolders(host));
  RegisterMakerFolder("Host1", host.c_str());

  InstallerSession s;
  Launch(s);
  ASSERT_EQ("C:\\Setup Test\\Caf\xE9 \x80\xFF\xDC\xA0\xBF\\Plug-Ins\\Mirefold\\", s.Entries().at(0));
  ClickButton(s, layout_.installButton, install_);
  ExpectCompletion(s);
  EXPECT_EQ(nullptr, s.FindMessageBox()) << "no failure message";
  const std::string target = host + "\\Mirefold\\";
  ExpectBytes(target + "iRelief.8bf", plugin32_, "high-byte folder");
  ExpectBytes(target + "iRelief(X64).8bf", plugin64_, "high-byte folder");
  ExpectNoTemporaryFile(target);
  Close(s);
}

}  // namespace
