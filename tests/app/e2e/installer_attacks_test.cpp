// Attacks on the elevated installer as a program without administrator
// rights would make them: DLLs planted beside the exe in its download
// folder, links at the names its writer uses, and the web browser that the
// help link starts.
#include <cstdio>
#include <cstring>

#include <exdisp.h>

#include "EndToEnd.h"
#include "app/MakerSite.h"

namespace {

const std::string kRoot = kTestRoot;

// Every library a run loads through start, the folder browser, an install
// and the help link (WINEDEBUG=+loaddll, 32-bit and 64-bit, before and
// after the installer loaded the shell on demand), and the names that DLL
// planting on Windows goes for: libraries that are no KnownDLL and that the
// shell, the common controls and COM load on demand.
const char* const kPlantedNames[] = {
#include "planted_dll_names.inc"
};

const char kBrowserKey[] = "Software\\Classes\\http\\shell\\open\\command";

// The http handler of one registry view, as the prefix had it.
struct SavedHandler {
  REGSAM view;
  bool present;
  DWORD type;
  std::string data;
};

// Whether the desktop shell serves its window list yet. Wine starts the
// desktop's process with the first window of a prefix, and on a busy
// machine the shell registers its objects many seconds later.
bool DesktopShellAnswers() {
  const CLSID shellWindows = {0x9ba05972, 0xf6a8, 0x11cf, {0xa4, 0x42, 0x00, 0xa0, 0xc9, 0x0a, 0x8f, 0x39}};
  IShellWindows* windows = nullptr;
  if (FAILED(CoCreateInstance(shellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                              reinterpret_cast<void**>(&windows))))
    return false;
  windows->Release();
  return true;
}

class Attacks : public EndToEnd {
 protected:
  static void SetUpTestSuite() {
    EndToEnd::SetUpTestSuite();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  static void TearDownTestSuite() {
    CoUninitialize();
    EndToEnd::TearDownTestSuite();
  }

  // The help link is clicked once the desktop shell is there to take it,
  // as it always is on a Windows desktop.
  void ClickHelpLinkOnceTheShellRuns(const InstallerSession& s) const {
    EXPECT_TRUE(WaitUntil(DesktopShellAnswers, 60000)) << "the desktop shell never served its window list";
    ClickHelpLink(s);
  }

  void SetUp() override {
    EndToEnd::SetUp();
    record_ = kRoot + "browser-record.txt";
    // The stand-in replaces the browser in both registry views: the 32-bit
    // installer reads one, the desktop's process may read the other.
    const std::string command = std::string("\"") + STANDIN_BROWSER + "\" \"" + record_ + "\" \"%1\"";
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      SavedHandler saved{view, false, REG_SZ, ""};
      HKEY key = nullptr;
      ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                               nullptr, &key, nullptr));
      char data[1024];
      DWORD size = sizeof data - 1;
      if (RegQueryValueExA(key, nullptr, nullptr, &saved.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS &&
          (saved.type == REG_SZ || saved.type == REG_EXPAND_SZ)) {
        data[size] = '\0';
        saved.present = true;
        saved.data = data;
      }
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
      RegCloseKey(key);
      saved_.push_back(saved);
    }
  }

  void TearDown() override {
    // Links that Wine cannot follow any more are invisible to the clean-up.
    for (const std::string& link : links_) EXPECT_TRUE(RemoveSymbolicLink(link)) << link;
    for (const SavedHandler& saved : saved_) {
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBrowserKey, 0, KEY_ALL_ACCESS | saved.view, &key) != ERROR_SUCCESS) continue;
      if (saved.present)
        RegSetValueExA(key, nullptr, 0, saved.type, reinterpret_cast<const BYTE*>(saved.data.c_str()),
                       static_cast<DWORD>(saved.data.size() + 1));
      else
        RegDeleteValueA(key, nullptr);
      RegCloseKey(key);
    }
  }

  // A host plug-in folder that exists, registered under the maker's key.
  std::string AddHost(const std::string& folder) {
    EXPECT_TRUE(MakeFolders(kRoot + folder)) << folder;
    RegisterMakerFolder("Host1", (kRoot + folder).c_str());
    return kRoot + folder;
  }

  void ClickHelpLink(const InstallerSession& s) const { s.Click(layout_.siteLink.x + 12, layout_.siteLink.y + 6); }

  // Waits for the stand-in browser's record: the parent's process id and
  // name, and the address. False when no browser was started.
  bool ReadBrowserRecord(DWORD* parent, std::string* parentName, std::string* address) const {
    if (!WaitUntil([&] { return Exists(record_); }, 20000)) return false;
    Bytes bytes;
    if (!ReadFileBytes(record_, &bytes)) return false;
    std::string text;
    for (unsigned char c : bytes)
      if (c != '\r') text += static_cast<char>(c);
    const std::size_t firstLine = text.find('\n');
    char name[MAX_PATH] = "";
    unsigned long pid = 0;
    if (firstLine == std::string::npos || std::sscanf(text.c_str(), "%lu %259[^\n]", &pid, name) < 1) return false;
    *parent = pid;
    *parentName = name;
    *address = text.substr(firstLine + 1, text.find('\n', firstLine + 1) - firstLine - 1);
    return true;
  }

  // A symbolic link, removed again after the test; false when none can be made.
  bool Link(const std::string& link, const std::string& target) {
    if (!MakeSymbolicLink(link, target)) return false;
    links_.push_back(link);
    return true;
  }

  std::string record_;
  std::vector<SavedHandler> saved_;
  std::vector<std::string> links_;
};

TEST_F(Attacks, TheHelpPageOpensOutsideTheElevatedInstaller) {
  AddHost("Help\\Plug-ins");
  InstallerSession s;
  Launch(s);
  ClickHelpLinkOnceTheShellRuns(s);
  DWORD parent = 0;
  std::string parentName, address;
  ASSERT_TRUE(ReadBrowserRecord(&parent, &parentName, &address)) << "the link started no browser";
  std::printf("the browser's parent: process %lu, %s (the installer is %lu)\n", static_cast<unsigned long>(parent),
              parentName.c_str(), static_cast<unsigned long>(s.ProcessId()));
  EXPECT_EQ(kHelpUrl, address);
  EXPECT_NE(s.ProcessId(), parent) << "the browser was started by the elevated installer itself";
  EXPECT_TRUE(s.Running()) << "the installer keeps running";
  s.Key(VK_ESCAPE);
  EXPECT_TRUE(s.WaitForExit());
}

TEST_F(Attacks, NoDllPlantedBesideTheInstallerIsLoaded) {
  const std::string host = AddHost("Plant\\Plug-ins");
  const std::string downloads = kRoot + "Downloads\\";
  ASSERT_TRUE(MakeFolders(downloads));
  const std::string exe = downloads + "iRelief-Setup.exe";
  ASSERT_TRUE(CopyFileA(INSTALLER_EXE, exe.c_str(), FALSE)) << "error " << GetLastError();
  for (const char* name : kPlantedNames)
    ASSERT_TRUE(CopyFileA(MARKER_DLL, (downloads + name + ".dll").c_str(), FALSE)) << name;

  // The marker marks: loaded here, it leaves its file.
  const std::string check = kRoot + "marker-check.dll";
  ASSERT_TRUE(CopyFileA(MARKER_DLL, check.c_str(), FALSE));
  HMODULE marker = LoadLibraryA(check.c_str());
  ASSERT_NE(nullptr, marker) << "the marker DLL does not load, error " << GetLastError();
  FreeLibrary(marker);
  ASSERT_TRUE(Exists(check + ".loaded")) << "the marker DLL left no mark";

  {
    // Started from the download folder, which is also its current directory.
    InstallerSession s(exe, downloads);
    Launch(s);
    if (!HasFatalFailure()) {
      // The folder browser, opened from the Browse entry and cancelled.
      s.KeyOnDropDown(VK_DOWN);
      HWND browser = nullptr;
      EXPECT_TRUE(WaitUntil([&] { return (browser = s.FindFolderBrowser()) != nullptr; }, 10000))
          << "the Browse entry opened no folder browser";
      if (browser) {
        PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
      }
      ASSERT_TRUE(WaitUntil([&] { return s.Selection() == 0; })) << "a cancel selects entry 0";
      ClickHelpLinkOnceTheShellRuns(s);
      DWORD parent = 0;
      std::string parentName, address;
      EXPECT_TRUE(ReadBrowserRecord(&parent, &parentName, &address)) << "the link started no browser";
      ClickButton(s, layout_.installButton, install_);
      EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, done_, layout_.completionPicture); }))
          << "the install did not complete";
      Bytes written;
      EXPECT_TRUE(ReadFileBytes(host + "\\Mirefold\\iRelief.8bf", &written) && written == plugin32_)
          << "the plug-in was not installed";
      ClickButton(s, layout_.finishButton, finish_);
      EXPECT_TRUE(s.WaitForExit());
    }
  }
  std::string loaded;
  for (const std::string& file : FilesIn(downloads))
    if (file.size() > 7 && file.compare(file.size() - 7, 7, ".loaded") == 0) loaded += " " + file.substr(0, file.size() - 7);
  EXPECT_EQ("", loaded) << "planted DLLs ran inside the installer";
  std::printf("%zu names planted\n", sizeof kPlantedNames / sizeof kPlantedNames[0]);
}

TEST_F(Attacks, LinksAtTheWritersNamesLeaveWhatTheyPointAtAlone) {
  const std::string host = AddHost("Links\\Plug-ins");
  const std::string folder = host + "\\Mirefold\\";
  const std::string outside = kRoot + "Outside\\";
  ASSERT_TRUE(MakeFolders(folder));
  ASSERT_TRUE(MakeFolders(outside));
  // The files the links point at, each with contents of its own.
  const char* const victims[] = {"dest-symbolic.bin", "dest-hard.bin", "temp-symbolic.bin", "temp-hard.bin"};
  std::vector<Bytes> contents;
  for (const char* victim : victims) {
    contents.push_back(Bytes(1000, static_cast<unsigned char>('A' + contents.size())));
    ASSERT_TRUE(WriteFileBytes(outside + victim, contents.back()));
  }
  // At the destination names.
  const bool symbolic = Link(folder + "iRelief.8bf", outside + "dest-symbolic.bin");
  ASSERT_TRUE(CreateHardLinkA((folder + "iRelief(X64).8bf").c_str(), (outside + "dest-hard.bin").c_str(), nullptr))
      << "error " << GetLastError();

  InstallerSession s;
  Launch(s);
  // At the temporary names a writer that names them after its process takes.
  const std::string pid = std::to_string(s.ProcessId());
  EXPECT_TRUE(CreateHardLinkA((folder + "iRelief(X64).8bf." + pid + ".tmp").c_str(), (outside + "temp-hard.bin").c_str(),
                              nullptr));
  // And a link to a file that does not exist yet, at a name of the same kind.
  const std::string dangling = folder + "iRelief.8bf." + std::to_string(s.ProcessId() + 4) + ".tmp";
  if (symbolic) {
    EXPECT_TRUE(Link(folder + "iRelief.8bf." + pid + ".tmp", outside + "temp-symbolic.bin"));
    EXPECT_TRUE(Link(dangling, outside + "created.bin"));
  }

  ClickButton(s, layout_.installButton, install_);
  bool completed = false;
  std::string message;
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (HWND box = s.FindMessageBox()) {
          message = InstallerSession::MessageText(box);
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          return true;
        }
        completed = static_cast<bool>(Shows(s.Capture(), done_, layout_.completionPicture));
        return completed;
      },
      15000))
      << "the install neither completed nor reported anything";
  if (completed) {
    Bytes bytes;
    ASSERT_TRUE(ReadFileBytes(folder + "iRelief.8bf", &bytes));
    EXPECT_TRUE(bytes == plugin32_) << "iRelief.8bf is not the 32-bit build";
    ASSERT_TRUE(ReadFileBytes(folder + "iRelief(X64).8bf", &bytes));
    EXPECT_TRUE(bytes == plugin64_) << "iRelief(X64).8bf is not the 64-bit build";
  } else {
    EXPECT_NE(std::string::npos, message.find("C:\\Setup Test\\Links\\Plug-Ins\\Mirefold\\"))
        << "a refusal names the folder:\n" << message;
  }

  for (std::size_t i = 0; i < contents.size(); ++i) {
    Bytes now;
    EXPECT_TRUE(ReadFileBytes(outside + victims[i], &now)) << victims[i] << " is gone";
    EXPECT_TRUE(now == contents[i]) << "the installer wrote through a link into " << victims[i];
  }
  EXPECT_FALSE(Exists(outside + "created.bin")) << "the installer created a file outside its folder";
  EXPECT_EQ(4u, FilesIn(outside).size()) << "only the files that were there";
  if (!symbolic) std::printf("this system made no symbolic links: hard links only\n");
  s.Key(VK_ESCAPE);
  if (!completed) s.Key(VK_ESCAPE);
  EXPECT_TRUE(s.WaitForExit());
}

}  // namespace
