// The installer exe end to end: started with host registrations in this
// prefix, driven through its window with mouse messages at the widgets'
// positions and with keys, and judged by the screen and the files it writes.
#include <algorithm>
#include <cstdio>

#include "EndToEnd.h"

namespace {

const std::string kRoot = kTestRoot;

std::string Joined(const std::vector<std::string>& entries) {
  std::string all;
  for (const auto& e : entries) all += "\n    " + e;
  return all;
}

bool HiddenBelowClientArea(const InstallerSession& s) {
  RECT box;
  GetWindowRect(s.DropDown(), &box);
  POINT topLeft = {box.left, box.top};
  ScreenToClient(s.Window(), &topLeft);
  return topLeft.y >= 1000;
}

class Installer : public EndToEnd {
 protected:
  // A host plug-in folder that exists, registered under the maker's key.
  std::string AddHost(const char* subkey, const std::string& folder) {
    EXPECT_TRUE(MakeFolders(kRoot + folder)) << folder;
    RegisterMakerFolder(subkey, (kRoot + folder).c_str());
    return kRoot + folder;
  }

  void ExpectCompletionScreen(const InstallerSession& s, Picture* shot = nullptr) {
    EXPECT_TRUE(WaitForScreen(
        s,
        [](const Picture& p) {
          auto r = Shows(p, done_, layout_.completionPicture);
          if (r) r = Shows(p, finish_, layout_.finishButton);
          if (r) r = ShowsBackgroundUnder(p, install_, layout_.installButton);
          return r;
        },
        shot))
        << "completion screen";
    EXPECT_TRUE(HiddenBelowClientArea(s)) << "the drop-down is moved out of sight";
  }

  void ExpectIndicators(const InstallerSession& s, bool show32, bool show64, const char* when) {
    EXPECT_TRUE(WaitForScreen(s, [&](const Picture& p) {
      auto r = show32 ? Shows(p, ind32_, layout_.indicator32) : ShowsBackgroundUnder(p, ind32_, layout_.indicator32);
      if (r) r = show64 ? Shows(p, ind64_, layout_.indicator64) : ShowsBackgroundUnder(p, ind64_, layout_.indicator64);
      return r;
    })) << when << ": expected 32-bit indicator " << (show32 ? "shown" : "hidden") << ", 64-bit indicator "
        << (show64 ? "shown" : "hidden");
  }

  void ExpectPlugins(const std::string& folder, bool want32, bool want64) {
    std::vector<std::string> expected;
    if (want32) expected.push_back("iRelief.8bf");
    if (want64) expected.push_back("iRelief(X64).8bf");
    std::vector<std::string> seen = FilesIn(folder);
    std::sort(seen.begin(), seen.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, seen) << "files in " << folder;
    Bytes bytes;
    if (want32) {
      ASSERT_TRUE(ReadFileBytes(folder + "iRelief.8bf", &bytes));
      EXPECT_TRUE(bytes == plugin32_) << "iRelief.8bf differs from the 32-bit build (" << bytes.size() << " bytes, expected "
                                      << plugin32_.size() << ")";
    }
    if (want64) {
      ASSERT_TRUE(ReadFileBytes(folder + "iRelief(X64).8bf", &bytes));
      EXPECT_TRUE(bytes == plugin64_) << "iRelief(X64).8bf differs from the 64-bit build (" << bytes.size()
                                      << " bytes, expected " << plugin64_.size() << ")";
    }
  }

  void CloseWithExitCode0(InstallerSession& s) {
    ASSERT_TRUE(s.WaitForExit()) << "the installer did not end";
    EXPECT_EQ(0u, s.ExitCode()) << "exit code";
  }
};

TEST_F(Installer, OffersDetectedFoldersInDiscoveryOrderThenBrowse) {
  AddHost("Host1", "Order\\Host One\\Plug-ins");
  MakeFolders(kRoot + "Order\\host two\\plug-ins");
  RegisterMakerFolder("Host2", "c:\\setup test\\order\\host two\\plug-ins\\");
  MakeFolders(kRoot + "Order\\Paint\\Plug-ins");
  RegisterPhotoshop64("12.0", (kRoot + "Order\\Paint\\Plug-ins").c_str());
  // The 32-bit view (WOW6432Node), read after the 64-bit one.
  MakeFolders(kRoot + "Order\\Old Paint\\Plug-ins");
  RegisterPhotoshop32("11.0", (kRoot + "Order\\Old Paint\\Plug-ins").c_str());

  InstallerSession s;
  Launch(s);
  const std::vector<std::string> expected = {
      "C:\\Setup Test\\Order\\Host One\\Plug-Ins\\Mirefold\\",
      "C:\\Setup Test\\Order\\Host Two\\Plug-Ins\\Mirefold\\",
      "C:\\Setup Test\\Order\\Paint\\Plug-Ins\\Mirefold\\",
      "C:\\Setup Test\\Order\\Old Paint\\Plug-Ins\\Mirefold\\",
      kBrowseEntry,
  };
  EXPECT_EQ(expected, s.Entries()) << "seen:" << Joined(s.Entries());
  EXPECT_EQ(0, s.Selection()) << "entry 0 is chosen at start";

  RECT client;
  GetClientRect(s.Window(), &client);
  EXPECT_EQ(600, client.right) << "client width";
  EXPECT_EQ(320, client.bottom) << "client height";
  RECT box;
  GetWindowRect(s.DropDown(), &box);
  POINT topLeft = {box.left, box.top};
  ScreenToClient(s.Window(), &topLeft);
  // Where the window puts it over the 600 x 320 background; the rest of the
  // layout is in the reference pictures the keyboard tests compare with.
  EXPECT_EQ(16, topLeft.x) << "drop-down left";
  EXPECT_EQ(260, topLeft.y) << "drop-down top";
  EXPECT_EQ(565, box.right - box.left) << "drop-down width";

  s.Click(Centre(layout_.exitButton, exit_).x, Centre(layout_.exitButton, exit_).y);
  CloseWithExitCode0(s);
  EXPECT_FALSE(Exists(kRoot + "Order\\Host One\\Plug-ins\\Mirefold")) << "the exit button installs nothing";
}

TEST_F(Installer, InstallWritesBothBuildsIntoTheNewSubfolderAndFinishes) {
  const std::string host = AddHost("Host1", "Program Files\\Alpha\\Plug-ins");
  AddHost("Host2", "Program Files (x86)\\Beta\\Plug-ins");
  AddHost("Host3", "Program Files\\Gamma (64 Bit)\\Plug-ins");

  InstallerSession s;
  Launch(s);
  const DWORD firstPaint = GetTickCount() - s.StartTick();
  ExpectIndicators(s, true, true, "a folder with neither (64 nor 86)");
  EXPECT_TRUE(CheckBoxShows(s.Capture(), 2)) << "the component starts checked";
  // The drop-down is drawn over the background: its white field, right of
  // the entry's text and left of its button.
  Picture choosing;
  EXPECT_TRUE(WaitForScreen(
      s,
      [](const Picture& p) {
        const int x = layout_.dropDownLeft + layout_.dropDownWidth - 60, y = layout_.dropDownTop + 8;
        if (p.At(x, y) == 0xFFFFFF) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "drop-down field at (" << x << ", " << y << "): expected 0xFFFFFF, got "
                                             << Hex(p.At(x, y));
      },
      &choosing))
      << "the folder drop-down is shown";
  EXPECT_TRUE(choosing.SaveBmp(ShotPath("choosing.bmp"))) << ShotPath("choosing.bmp");

  const DWORD clicked = GetTickCount();
  ClickButton(s, layout_.installButton, install_);
  Picture done;
  ExpectCompletionScreen(s, &done);
  const DWORD installed = GetTickCount() - clicked;
  EXPECT_TRUE(done.SaveBmp(ShotPath("completed.bmp"))) << ShotPath("completed.bmp");
  ExpectPlugins(host + "\\Mirefold\\", true, true);
  std::printf("timing: first complete paint %lu ms after start; install to completion screen %lu ms\n",
              static_cast<unsigned long>(firstPaint), static_cast<unsigned long>(installed));

  ClickButton(s, layout_.finishButton, finish_);
  CloseWithExitCode0(s);
}

TEST_F(Installer, IndicatorsFollowTheSelectionAndA64FolderGetsOnlyThe64BitBuild) {
  AddHost("Host1", "Program Files\\Alpha\\Plug-ins");
  const std::string x86 = AddHost("Host2", "Program Files (x86)\\Beta\\Plug-ins");
  const std::string x64 = AddHost("Host3", "Program Files\\Gamma (64 Bit)\\Plug-ins");

  InstallerSession s;
  Launch(s);
  ExpectIndicators(s, true, true, "entry 0");
  s.KeyOnDropDown(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return s.Selection() == 1; })) << "the arrow key moved the selection to " << s.Selection();
  ExpectIndicators(s, true, false, "the (x86) folder");
  s.KeyOnDropDown(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return s.Selection() == 2; })) << "selection " << s.Selection();
  ExpectIndicators(s, false, true, "the (64 Bit) folder");

  ClickButton(s, layout_.installButton, install_);
  ExpectCompletionScreen(s);
  ExpectPlugins(x64 + "\\Mirefold\\", false, true);
  EXPECT_FALSE(Exists(x86 + "\\Mirefold")) << "nothing written elsewhere";
  s.Key(VK_ESCAPE);
  CloseWithExitCode0(s);
}

TEST_F(Installer, AnX86FolderGetsOnlyThe32BitBuild) {
  AddHost("Host1", "Program Files\\Alpha\\Plug-ins");
  const std::string x86 = AddHost("Host2", "Program Files (x86)\\Beta\\Plug-ins");

  InstallerSession s;
  Launch(s);
  s.KeyOnDropDown(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return s.Selection() == 1; })) << "selection " << s.Selection();
  ExpectIndicators(s, true, false, "the (x86) folder");
  ClickButton(s, layout_.installButton, install_);
  ExpectCompletionScreen(s);
  ExpectPlugins(x86 + "\\Mirefold\\", true, false);
  ClickButton(s, layout_.finishButton, finish_);
  CloseWithExitCode0(s);
}

TEST_F(Installer, UncheckingTheComponentHidesInstallAndCheckingAgainInstalls) {
  const std::string host = AddHost("Host1", "Alpha\\Plug-ins");

  InstallerSession s;
  Launch(s);
  ClickCheckBox(s);
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) {
    auto r = CheckBoxShows(p, 0);
    if (r) r = ShowsBackgroundUnder(p, install_, layout_.installButton);
    return r;
  })) << "unchecked: empty box, no Install button";

  ClickButton(s, layout_.installButton, install_);
  s.Key(VK_RETURN);
  ASSERT_TRUE(s.Settle());
  EXPECT_FALSE(Exists(host + "\\Mirefold")) << "Install and Enter do nothing while nothing is checked";
  EXPECT_EQ(nullptr, s.FindMessageBox()) << "and say nothing";
  EXPECT_TRUE(s.Running());

  ClickCheckBox(s);
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) {
    auto r = CheckBoxShows(p, 2);
    if (r) r = Shows(p, install_, layout_.installButton);
    return r;
  })) << "checked again: ticked box, Install button back";
  ClickButton(s, layout_.installButton, install_);
  ExpectCompletionScreen(s);
  ExpectPlugins(host + "\\Mirefold\\", true, true);
  ClickButton(s, layout_.finishButton, finish_);
  CloseWithExitCode0(s);
}

TEST_F(Installer, ASecondCopyEndsAtOnceWithoutAWindow) {
  AddHost("Host1", "Alpha\\Plug-ins");
  InstallerSession first;
  Launch(first);

  InstallerSession second;
  ASSERT_TRUE(second.Start());
  ASSERT_TRUE(second.WaitForExit(10000)) << "the second copy kept running";
  EXPECT_EQ(0u, second.ExitCode()) << "exit code of the second copy";
  EXPECT_EQ(nullptr, first.FindMessageBox()) << "no message";
  EXPECT_TRUE(first.Running()) << "the first copy is not disturbed";
  EXPECT_TRUE(IsWindowVisible(first.Window()));

  first.Key(VK_ESCAPE);
  CloseWithExitCode0(first);
}

TEST_F(Installer, EscapeClosesInBothPhasesAndEnterInstallsThenCloses) {
  const std::string host = AddHost("Host1", "Alpha\\Plug-ins");
  {
    InstallerSession s;
    Launch(s);
    s.Key(VK_ESCAPE);
    CloseWithExitCode0(s);
    EXPECT_FALSE(Exists(host + "\\Mirefold")) << "Escape installs nothing";
  }
  {
    InstallerSession s;
    Launch(s);
    s.Key(VK_RETURN);
    ExpectCompletionScreen(s);
    ExpectPlugins(host + "\\Mirefold\\", true, true);
    s.Key(VK_ESCAPE);
    CloseWithExitCode0(s);
  }
  RemoveTree(host + "\\Mirefold");
  {
    InstallerSession s;
    Launch(s);
    s.Key(VK_RETURN);
    ExpectCompletionScreen(s);
    s.Key(VK_RETURN);
    CloseWithExitCode0(s);
    ExpectPlugins(host + "\\Mirefold\\", true, true);
  }
}

TEST_F(Installer, ALockedPluginIsReportedLeftIntactAndTheUserCanRetry) {
  const std::string host = AddHost("Host1", "Alpha\\Plug-ins");
  const std::string folder = host + "\\Mirefold\\";
  ASSERT_TRUE(MakeFolders(folder));
  const Bytes old = {'o', 'l', 'd', ' ', 'p', 'l', 'u', 'g', '-', 'i', 'n'};
  ASSERT_TRUE(WriteFileBytes(folder + "iRelief.8bf", old));
  HANDLE held = CreateFileA((folder + "iRelief.8bf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held) << "could not hold the plug-in open, error " << GetLastError();

  InstallerSession s;
  Launch(s);
  ClickButton(s, layout_.installButton, install_);
  const std::string text = DismissMessageBox(s);
  EXPECT_NE(std::string::npos, text.find("iRelief.8bf")) << "the message names the file:\n" << text;
  EXPECT_NE(std::string::npos, text.find("C:\\Setup Test\\Alpha\\Plug-Ins\\Mirefold\\"))
      << "the message names the folder:\n" << text;
  EXPECT_NE(std::string::npos, text.find("close the host application")) << "and says what to do:\n" << text;
  CloseHandle(held);

  Bytes now;
  ASSERT_TRUE(ReadFileBytes(folder + "iRelief.8bf", &now));
  EXPECT_TRUE(now == old) << "the locked plug-in must stay exactly as it was";
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, install_, layout_.installButton); }))
      << "still choosing: the Install button is there";
  EXPECT_FALSE(HiddenBelowClientArea(s)) << "the drop-down is still usable";

  ClickButton(s, layout_.installButton, install_);
  ExpectCompletionScreen(s);
  ExpectPlugins(folder, true, true);
  ClickButton(s, layout_.finishButton, finish_);
  CloseWithExitCode0(s);
}

TEST_F(Installer, AFolderTwoLevelsDeepThatIsGoneIsReportedAndNothingIsWritten) {
  const std::string gone = AddHost("Host1", "Gone\\Sub\\Plug-ins");
  // Discovery ends in another folder, so the one that goes is nobody's current directory.
  AddHost("Host2", "Other\\Plug-ins");

  InstallerSession s;
  Launch(s);
  ASSERT_EQ("C:\\Setup Test\\Gone\\Sub\\Plug-Ins\\Mirefold\\", s.Entries().at(0));
  ASSERT_TRUE(RemoveTree(kRoot + "Gone\\Sub")) << "could not remove the host folder";

  ClickButton(s, layout_.installButton, install_);
  const std::string text = DismissMessageBox(s);
  EXPECT_NE(std::string::npos, text.find("could not create the folder")) << text;
  EXPECT_NE(std::string::npos, text.find("a folder above it is missing (error 3)")) << text;
  EXPECT_NE(std::string::npos, text.find("C:\\Setup Test\\Gone\\Sub\\Plug-Ins\\Mirefold\\")) << text;
  EXPECT_NE(std::string::npos, text.find("choose another folder")) << text;
  EXPECT_FALSE(Exists(kRoot + "Gone\\Sub")) << "no deeper tree is made";
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, install_, layout_.installButton); }))
      << "still choosing";
  s.Key(VK_ESCAPE);
  CloseWithExitCode0(s);
}

TEST_F(Installer, WithoutDetectedFoldersInstallOpensTheFolderBrowser) {
  InstallerSession s;
  Launch(s);
  const std::vector<std::string> expected = {kBrowseEntry};
  ASSERT_EQ(expected, s.Entries());
  EXPECT_EQ(0, s.Selection());

  ClickButton(s, layout_.installButton, install_);
  HWND browser = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (browser = s.FindFolderBrowser()) != nullptr; }))
      << "Install on the Browse entry opens the folder browser";
  PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); })) << "the browser closes on cancel";
  EXPECT_EQ(expected, s.Entries()) << "a cancel adds nothing";
  EXPECT_EQ(nullptr, s.FindMessageBox());
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, install_, layout_.installButton); }))
      << "still choosing";

  // Choosing the Browse entry although it is already chosen opens it too.
  SendMessageW(s.DropDown(), CB_SHOWDROPDOWN, TRUE, 0);
  s.KeyOnDropDown(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return (browser = s.FindFolderBrowser()) != nullptr; }))
      << "choosing the chosen Browse entry opens the folder browser";
  PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
  ASSERT_TRUE(s.Settle());
  EXPECT_EQ(nullptr, s.FindFolderBrowser()) << "the browser opens once per choice";

  s.Key(VK_ESCAPE);
  CloseWithExitCode0(s);
}

}  // namespace
