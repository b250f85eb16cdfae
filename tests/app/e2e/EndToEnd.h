#pragma once
// The shared fixture of the end-to-end tests: the installer's own artwork
// (read from the exe under test), the window's layout, and checks of what
// the screen shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostFixtures.h"
#include "tests/support/InstallerSession.h"
#include "tests/support/Picture.h"
#include "app/MainLayout.h"

// Every folder the tests make lives below this one.
constexpr char kTestRoot[] = "C:\\Setup Test\\";
constexpr char kBrowseEntry[] = "******** BROWSE ********";

class EndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  // Starts the installer and waits for its first complete paint.
  void Launch(InstallerSession& session);

  // Where to click a button whose bitmap is picture, placed at origin.
  static POINT Centre(LayoutPoint origin, const Picture& picture) {
    return {origin.x + picture.width / 2, origin.y + picture.height / 2};
  }
  void ClickButton(const InstallerSession& s, LayoutPoint origin, const Picture& picture) const {
    const POINT at = Centre(origin, picture);
    s.Click(at.x, at.y);
  }
  void ClickCheckBox(const InstallerSession& s) const { s.Click(layout_.selector.left + 6, layout_.selector.top + 6); }

  // Whether the screen shows picture at origin: every sampled pixel where
  // the picture is opaque and differs from the background.
  static ::testing::AssertionResult Shows(const Picture& shot, const Picture& picture, LayoutPoint origin);
  static ::testing::AssertionResult ShowsBackgroundUnder(const Picture& shot, const Picture& picture,
                                                         LayoutPoint origin);
  // Whether the check box shows strip frame (0 unticked, 2 ticked).
  static ::testing::AssertionResult CheckBoxShows(const Picture& shot, int frame);

  // Waits until the window shows what check accepts; returns the last capture.
  static bool WaitForScreen(const InstallerSession& s,
                            const std::function<::testing::AssertionResult(const Picture&)>& check,
                            Picture* last = nullptr, DWORD timeoutMs = 10000);

  // Dismisses the message box the installer shows, returning its text ("" when none came).
  static std::string DismissMessageBox(const InstallerSession& s, DWORD timeoutMs = 5000);

  static std::string ShotPath(const char* name) { return std::string(SHOT_DIR) + "\\" + name; }

  static HMODULE installer_;
  static Picture background_, exit_, install_, finish_, ind32_, ind64_, done_, check_;
  static MainLayout layout_;
  static Bytes plugin32_, plugin64_;
};
