// The installer window's layout and centring, the drop-down's entry texts,
// the architecture indicators and the texts of the failure messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/FailureMessage.h"
#include "app/FolderEntries.h"
#include "app/IndicatorRule.h"
#include "app/MainLayout.h"
#include "tests/support/GuardedText.h"

namespace {

// With the shipped background (600 x 320) the layout is what the end-to-end
// tests see on the screen and compare with the reference pictures in docs/.
TEST(MainLayout, FollowsAnotherBackgroundSize) {
  const MainLayout l = ComputeMainLayout(400, 200, 20);
  EXPECT_EQ(140, l.dropDownTop);
  EXPECT_EQ(365, l.dropDownWidth);
  EXPECT_EQ(118, l.captionTop);
  EXPECT_EQ(251, l.statusRect.right);
  EXPECT_EQ(337, l.exitButton.x);
  EXPECT_EQ(179, l.exitButton.y);
}

TEST(CentredPlacement, ClientBecomesTheBackgroundAndTheCentreStays) {
  // A template-sized window with a 2-pixel frame all round.
  const WindowPlacement p = CentredPlacement({100, 50, 704, 542}, {0, 0, 600, 488}, 600, 320);
  EXPECT_EQ(604, p.width);
  EXPECT_EQ(324, p.height);
  EXPECT_EQ(100, p.left);
  EXPECT_EQ(134, p.top);
  EXPECT_EQ((100 + 704) / 2, p.left + p.width / 2) << "horizontal centre";
}

TEST(CentredPlacement, HalvingTruncatesTowardZeroOffScreen) {
  // Left of the screen: (-301 + 300 - 600 - 0) / 2 = -300.5, truncated to -300.
  const WindowPlacement p = CentredPlacement({-301, -3, 300, 0}, {0, 0, 601, 3}, 600, 2);
  EXPECT_EQ(-300, p.left);
  EXPECT_EQ(-2, p.top) << "(-3 + 0 - 2) / 2 = -2.5 truncates to -2";
}

TEST(FolderEntries, DetectedFolderGetsTheMakersSubfolder) {
  GuardedText out(400);
  ASSERT_TRUE(ComposeDetectedEntry(out.data(), 400, "C:\\A\\Plug-Ins\\", 1));
  EXPECT_STREQ("C:\\A\\Plug-Ins\\Mirefold\\", out.data());
  ASSERT_TRUE(ComposeDetectedEntry(out.data(), 400, "C:\\A\\Plug-Ins\\", 0));
  EXPECT_STREQ("C:\\A\\Plug-Ins\\", out.data());
  EXPECT_EQ(-1, out.FirstTouchedGuard()) << "sentinel byte after the buffer";
}

TEST(FolderEntries, AnEntryThatDoesNotFitIsLeftOutNotCut) {
  char out[400];
  // 390 characters + "Mirefold\" (9) = 399: fits exactly with the terminator.
  std::string path = "C:\\" + std::string(386, 'p') + "\\";
  ASSERT_EQ(390u, path.size());
  EXPECT_TRUE(ComposeDetectedEntry(out, sizeof out, path.c_str(), 1));
  EXPECT_EQ(399u, std::strlen(out));
  path.insert(3, "q");  // one more: 400 characters would need 401 bytes
  EXPECT_FALSE(ComposeDetectedEntry(out, sizeof out, path.c_str(), 1));
  EXPECT_STREQ("", out) << "nothing of a cut path may remain";
  const std::string huge(799, 'x');
  EXPECT_FALSE(ComposeDetectedEntry(out, sizeof out, huge.c_str(), 0));
  EXPECT_FALSE(ComposeDetectedEntry(out, sizeof out, "", 1)) << "an empty path is no folder";
}

TEST(FolderEntries, BrowsedPathGetsOneTrailingBackslash) {
  char path[400] = "D:\\Filters";
  ASSERT_TRUE(ComposeBrowsedEntry(path, sizeof path));
  EXPECT_STREQ("D:\\Filters\\", path);
  ASSERT_TRUE(ComposeBrowsedEntry(path, sizeof path));
  EXPECT_STREQ("D:\\Filters\\", path) << "no second backslash";
  char empty[400] = "";
  EXPECT_FALSE(ComposeBrowsedEntry(empty, sizeof empty)) << "an empty path is refused";
  char full[400];
  std::memset(full, 'x', 399);
  full[399] = '\0';
  EXPECT_FALSE(ComposeBrowsedEntry(full, sizeof full)) << "no room for the backslash";
  EXPECT_EQ(399u, std::strlen(full)) << "a refused path is not changed";
}

TEST(IndicatorRule, ShowsTheBuildsThatWillBeWritten) {
  const struct {
    int wow64;
    const char* folder;
    bool show32;
    bool show64;
  } cases[] = {
      {1, "C:\\Program Files (x86)\\Host\\Plug-Ins\\Mirefold\\", true, false},
      {1, "C:\\Program Files\\Host (64 Bit)\\Plug-Ins\\Mirefold\\", false, true},
      {1, "C:\\Program Files\\Host\\Plug-Ins\\Mirefold\\", true, true},
      {1, "C:\\(64\\86)\\", false, true},
      {1, "C:\\Host (x64)\\Plug-Ins\\", true, true},
      {1, "******** BROWSE ********", true, true},
      {0, "C:\\Program Files\\Host (64 Bit)\\", true, false},
      {0, "C:\\Program Files\\Host\\", true, false},
  };
  for (const auto& c : cases) {
    const IndicatorState s = IndicatorsFor(c.wow64, c.folder);
    EXPECT_EQ(c.show32, s.show32) << c.folder << " wow64=" << c.wow64;
    EXPECT_EQ(c.show64, s.show64) << c.folder << " wow64=" << c.wow64;
  }
}

PayloadOutcomes Failures(std::initializer_list<std::pair<const char*, std::uint32_t>> failed) {
  PayloadOutcomes o{};
  for (const auto& f : failed) {
    PayloadOutcome& item = o.items[o.count++];
    item.kind = OutcomeKind::Failed;
    std::strcpy(item.name, f.first);
    item.error = f.second;
    item.reason = "file not written";
    ++o.failed;
  }
  return o;
}

TEST(FailureMessage, NamesFilesFolderAndWhatToDo) {
  PayloadOutcomes o = Failures({{"iRelief.8bf", 32}, {"iRelief(X64).8bf", 5}});
  PayloadOutcome& written = o.items[o.count++];
  written.kind = OutcomeKind::Written;
  std::strcpy(written.name, "Other.8bf");
  char text[kFailureMessageCapacity];
  ComposeFailureMessage(text, sizeof text, o, "C:\\Host\\Plug-Ins\\Mirefold\\");
  const std::string s = text;
  EXPECT_NE(std::string::npos, s.find("C:\\Host\\Plug-Ins\\Mirefold\\")) << s;
  EXPECT_NE(std::string::npos, s.find("iRelief.8bf: in use by another program (error 32)")) << s;
  EXPECT_NE(std::string::npos, s.find("iRelief(X64).8bf: access denied (error 5)")) << s;
  EXPECT_EQ(std::string::npos, s.find("Other.8bf")) << "a written file is not listed: " << s;
  EXPECT_NE(std::string::npos, s.find("close the host application")) << s;
  EXPECT_NE(std::string::npos, s.find("choose another folder")) << s;
}

TEST(FailureMessage, KindsOfFailure) {
  EXPECT_EQ(FailureKind::InUse, ClassifyFailure(32));
  EXPECT_EQ(FailureKind::InUse, ClassifyFailure(33));
  EXPECT_EQ(FailureKind::Denied, ClassifyFailure(5));
  EXPECT_EQ(FailureKind::DiskFull, ClassifyFailure(112));
  EXPECT_EQ(FailureKind::PathTooLong, ClassifyFailure(206));
  EXPECT_EQ(FailureKind::Other, ClassifyFailure(13));
}

TEST(FailureMessage, ALongListNeverPushesOutTheAdvice) {
  PayloadOutcomes o{};
  for (int i = 0; i < kMaxOutcomes; ++i) {
    PayloadOutcome& item = o.items[o.count++];
    item.kind = OutcomeKind::Failed;
    std::memset(item.name, 'n', 300);
    item.name[300] = '\0';
    item.error = 112;
    item.reason = "";
  }
  o.failed = kMaxOutcomes + 3;  // failures beyond the table too
  GuardedText text(kFailureMessageCapacity);
  ComposeFailureMessage(text.data(), kFailureMessageCapacity, o, std::string(399, 'f').c_str());
  const std::string s = text.text();
  EXPECT_LT(s.size(), kFailureMessageCapacity);
  EXPECT_NE(std::string::npos, s.find("more")) << "the files left out are counted";
  EXPECT_NE(std::string::npos, s.find("free some space")) << s;
  EXPECT_EQ(-1, text.FirstTouchedGuard()) << "sentinel byte after the buffer";
}

TEST(FailureMessage, FolderSaysWhatFailedAndTheSystemError) {
  struct Case {
    FolderProblem problem;
    std::uint32_t error;
    const char* failed;
    const char* reason;
  };
  const Case cases[] = {
      {FolderProblem::CannotCreate, 3, "could not create the folder", "a folder above it is missing (error 3)"},
      {FolderProblem::CannotCreate, 5, "could not create the folder", "access denied (error 5)"},
      {FolderProblem::CannotEnter, 5, "could not open the folder", "access denied (error 5)"},
      {FolderProblem::CannotEnter, 1117, "could not open the folder", "system error (error 1117)"},
      {FolderProblem::FileInItsPlace, 267, "could not create the folder", "a file of that name is in its place"},
      {FolderProblem::LinkInItsPlace, 4395, "will not write into the folder", "it is a link to another place"},
  };
  for (const Case& c : cases) {
    char text[kFailureMessageCapacity];
    ComposeFolderMessage(text, sizeof text, "C:\\Gone\\Plug-Ins\\Mirefold\\", c.problem, c.error);
    const std::string s = text;
    EXPECT_NE(std::string::npos, s.find(c.failed)) << s;
    EXPECT_NE(std::string::npos, s.find(c.reason)) << s;
    EXPECT_NE(std::string::npos, s.find("C:\\Gone\\Plug-Ins\\Mirefold\\")) << s;
    EXPECT_NE(std::string::npos, s.find("choose another folder")) << s;
  }
  char tiny[16];
  ComposeFolderMessage(tiny, sizeof tiny, "C:\\Gone\\", FolderProblem::CannotEnter, 5);
  EXPECT_LT(std::strlen(tiny), sizeof tiny) << "always terminated";
}

}  // namespace

TEST(MainLayout, AtTwiceTheScaleEveryPositionAndLengthDoubles) {
  const MainLayout d = ComputeMainLayout(600, 320, 20);
  const MainLayout same = ScaledMainLayout(600, 320, 96);
  EXPECT_EQ(d.dropDownWidth, same.dropDownWidth);
  EXPECT_EQ(d.exitButton.x, same.exitButton.x);
  EXPECT_EQ(d.statusRect.left, same.statusRect.left);

  const MainLayout l = ScaledMainLayout(1200, 640, 192);
  EXPECT_EQ(32, l.dropDownLeft);
  EXPECT_EQ(520, l.dropDownTop);
  EXPECT_EQ(1130, l.dropDownWidth);
  EXPECT_EQ(1074, l.exitButton.x);
  EXPECT_EQ(598, l.exitButton.y);
  EXPECT_EQ(476, l.captionTop);
  EXPECT_EQ(40, l.statusRect.left);
  EXPECT_EQ(902, l.statusRect.right);
  EXPECT_EQ(580, l.selector.left);
  EXPECT_EQ(620, l.selector.right) << "the cleared area's width scales too";
}

TEST(MainLayout, AtOneAndAQuarterTheDropDownEndsWhereTheDesignsDoes) {
  // 750 x 400 is the 600 x 320 background at 120 dots per inch.
  const MainLayout l = ScaledMainLayout(750, 400, 120);
  EXPECT_EQ(20, l.dropDownLeft);
  EXPECT_EQ(726, l.dropDownLeft + l.dropDownWidth) << "581 * 1.25 = 726.25";
  EXPECT_EQ(594, l.installButton.x) << "475 * 1.25 = 593.75";
}
