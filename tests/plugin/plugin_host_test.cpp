// The built plug-in of this program's own architecture, run by our test host:
// its property list and entry point, the effect on selections of RGB and
// grayscale images compared pixel by pixel with the reference, progress and
// abort on a large image, refused modes, and the About box.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "plugin/PiplReader.h"
#include "tests/plugin/FilterHost.h"
#include "tests/plugin/ReliefReference.h"

using namespace relief;

namespace {

PluginFile& Plugin() {
  static PluginFile file;
  static bool loaded = file.Load(IRELIEF_PLUGIN_PATH);
  (void)loaded;
  return file;
}

class Relief : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(nullptr, Plugin().entry) << Plugin().problem; }
};

// Noise over a few shapes: every pixel differs from its neighbours somewhere.
TestImage Picture(int width, int height, int planes, uint32_t seed) {
  TestImage image(width, height, planes);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int p = 0; p < planes; ++p) {
        seed = seed * 1664525u + 1013904223u;
        const int shape = ((x / 7 + y / 5) % 3) * 90;
        image.At(x, y, p) = static_cast<uint8_t>(shape + (seed >> 27));
      }
  return image;
}

void ExpectSameImage(const TestImage& expected, const TestImage& seen, const char* what) {
  ASSERT_EQ(expected.pixels.size(), seen.pixels.size());
  int reported = 0;
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x)
      for (int p = 0; p < expected.planes; ++p)
        if (expected.At(x, y, p) != seen.At(x, y, p) && reported++ < 10)
          ADD_FAILURE() << what << ": pixel x=" << x << ",y=" << y << " plane " << p << " expected "
                        << int(expected.At(x, y, p)) << ", seen " << int(seen.At(x, y, p));
  EXPECT_EQ(0, reported) << what << ": differing samples";
}

void ExpectCleanRun(const RunOutcome& run) {
  EXPECT_EQ(-1, run.failedSelector) << "selector " << run.failedSelector << " returned " << run.failedCode;
  for (const std::string& problem : run.problems) ADD_FAILURE() << problem;
}

struct Case {
  const char* what;
  int width, height, planes;
  int16_t mode;
  HostRect filter;
  int colourPlanes;
};

TEST_F(Relief, SelectionsMatchTheReferenceEverywhere) {
  const Case cases[] = {
      {"grayscale, selection inside the image", 61, 47, 1, kModeGray, {5, 7, 40, 50}, 1},
      {"grayscale, whole image", 23, 19, 1, kModeGray, {0, 0, 19, 23}, 1},
      {"RGB, selection along the left and top edges", 53, 41, 3, kModeRgb, {0, 0, 30, 20}, 3},
      {"RGB, selection in the bottom-right corner", 53, 41, 3, kModeRgb, {30, 33, 41, 53}, 3},
      {"RGB, one-pixel column", 17, 13, 3, kModeRgb, {2, 9, 11, 10}, 3},
      {"RGB, one-pixel image", 1, 1, 3, kModeRgb, {0, 0, 1, 1}, 3},
      {"RGB with a transparency plane, which stays", 40, 30, 4, kModeRgb, {3, 4, 27, 36}, 3},
  };
  uint32_t seed = 7;
  for (const Case& c : cases) {
    TestImage image = Picture(c.width, c.height, c.planes, seed++);
    const TestImage expected = ReliefReference(image, c.filter, c.colourPlanes);
    RunOptions options;
    options.mode = c.mode;
    options.filter = c.filter;
    const RunOutcome run = RunFilter(Plugin().entry, image, options);
    SCOPED_TRACE(c.what);
    ExpectCleanRun(run);
    ExpectSameImage(expected, image, c.what);
  }
}

TEST_F(Relief, FlatAreasTurnGreyAndEdgesLightOnOneSideDarkOnTheOther) {
  TestImage image(30, 30, 3);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool square = x >= 10 && x < 20 && y >= 10 && y < 20;
      image.At(x, y, 0) = square ? 240 : 40;
      image.At(x, y, 1) = square ? 200 : 90;
      image.At(x, y, 2) = square ? 220 : 10;
    }
  RunOptions options;
  options.filter = HostRect{0, 0, 30, 30};
  ExpectCleanRun(RunFilter(Plugin().entry, image, options));
  for (int p = 0; p < 3; ++p) {
    EXPECT_EQ(128, image.At(3, 3, p)) << "flat background x=3,y=3 plane " << p;
    EXPECT_EQ(128, image.At(15, 15, p)) << "flat inside of the square x=15,y=15 plane " << p;
    EXPECT_GT(image.At(10, 15, p), 160) << "upper-left edge x=10,y=15 is light, plane " << p;
    EXPECT_GT(image.At(15, 10, p), 160) << "upper-left edge x=15,y=10 is light, plane " << p;
    EXPECT_LT(image.At(19, 15, p), 96) << "lower-right edge x=19,y=15 is dark, plane " << p;
    EXPECT_LT(image.At(15, 19, p), 96) << "lower-right edge x=15,y=19 is dark, plane " << p;
  }
}

TEST_F(Relief, LargeImageInBandsWithProgress) {
  TestImage image = Picture(1500, 1000, 3, 99);
  RunOptions options;
  options.filter = HostRect{20, 30, 990, 1470};
  options.maxSpace = 200 * 1000;  // a host short of memory: many bands
  options.rowPadding = 5;
  const TestImage expected = ReliefReference(image, options.filter, 3);
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  ExpectCleanRun(run);
  ExpectSameImage(expected, image, "large RGB image");
  EXPECT_GT(run.continueCalls, 10) << "bands asked for";
  ASSERT_FALSE(run.progress.empty());
  for (std::size_t i = 0; i < run.progress.size(); ++i) {
    EXPECT_EQ(970, run.progress[i].second) << "progress total at report " << i;
    if (i > 0) {
      EXPECT_GT(run.progress[i].first, run.progress[i - 1].first) << "progress rises at report " << i;
    }
  }
  EXPECT_EQ(970, run.progress.back().first) << "last progress report";
  EXPECT_GE(run.abortChecks, run.continueCalls - 1) << "abort checks, one per band";
}

TEST_F(Relief, AbortStopsTheFilter) {
  TestImage image = Picture(800, 600, 1, 5);
  const TestImage original = image;
  RunOptions options;
  options.mode = kModeGray;
  options.filter = HostRect{0, 0, 600, 800};
  options.maxSpace = 100 * 1000;
  options.abortAtCheck = 3;
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  EXPECT_EQ(kSelectContinue, run.failedSelector);
  EXPECT_EQ(kResultUserCancelled, run.failedCode);
  EXPECT_EQ(3, run.continueCalls) << "no band is asked for after the abort";
  EXPECT_EQ(3, run.abortChecks);
  EXPECT_EQ(2u, run.progress.size()) << "progress reports before the abort";
  EXPECT_EQ(original.At(400, 599, 0), image.At(400, 599, 0)) << "last row x=400,y=599 untouched";
}

TEST_F(Relief, UnsupportedModesAreRefused) {
  const int16_t modes[] = {kModeBitmap, kModeIndexed, kModeCmyk, kModeMultichannel, kModeLab, kModeGray16,
                           kModeRgb48};
  for (int16_t mode : modes) {
    TestImage image = Picture(20, 20, 4, 1);
    const TestImage original = image;
    RunOptions options;
    options.mode = mode;
    options.filter = HostRect{0, 0, 20, 20};
    const RunOutcome run = RunFilter(Plugin().entry, image, options);
    EXPECT_EQ(kSelectPrepare, run.failedSelector) << "mode " << mode;
    EXPECT_EQ(kResultBadMode, run.failedCode) << "mode " << mode;
    EXPECT_EQ(kResultBadMode, CallOnce(Plugin().entry, kSelectStart, image, options)) << "Start, mode " << mode;
    EXPECT_TRUE(image.pixels == original.pixels) << "image untouched, mode " << mode;
  }
}

TEST_F(Relief, ImpossibleSelectionsAreRefusedAndEmptyOnesDoNothing) {
  TestImage image = Picture(20, 10, 3, 2);
  const TestImage original = image;
  RunOptions options;
  options.filter = HostRect{0, 0, 11, 20};  // one row past the bottom
  EXPECT_EQ(kResultBadParameters, CallOnce(Plugin().entry, kSelectStart, image, options));
  options.filter = HostRect{0, -1, 10, 20};
  EXPECT_EQ(kResultBadParameters, CallOnce(Plugin().entry, kSelectStart, image, options));
  options.filter = HostRect{4, 5, 4, 15};  // no rows
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  ExpectCleanRun(run);
  EXPECT_EQ(0, run.continueCalls);
  EXPECT_TRUE(image.pixels == original.pixels);
  EXPECT_EQ(kResultBadParameters, CallOnce(Plugin().entry, 99, image, options)) << "unknown selector";
}

// The About box: found by a watcher thread, read and closed.
struct AboutSeen {
  HWND box = nullptr;
  HWND owner = nullptr;
  char caption[128] = "";
  std::string text;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  char cls[32] = "";
  GetWindowThreadProcessId(hwnd, &pid);
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid != GetCurrentProcessId() || std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
  reinterpret_cast<AboutSeen*>(param)->box = hwnd;
  return FALSE;
}

BOOL CALLBACK ReadStatic(HWND child, LPARAM param) {
  char cls[32] = "", text[512] = "";
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) {
    reinterpret_cast<AboutSeen*>(param)->text += text;
  }
  return TRUE;
}

DWORD WINAPI WatchForAbout(void* param) {
  auto* seen = static_cast<AboutSeen*>(param);
  for (int i = 0; i < 200 && !seen->box; ++i) {
    Sleep(50);
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(seen));
  }
  if (!seen->box) return 1;
  Sleep(100);
  seen->owner = GetWindow(seen->box, GW_OWNER);
  GetWindowTextA(seen->box, seen->caption, sizeof seen->caption);
  EnumChildWindows(seen->box, ReadStatic, reinterpret_cast<LPARAM>(seen));
  PostMessageA(seen->box, WM_COMMAND, IDOK, 0);
  return 0;
}

TEST_F(Relief, AboutBoxNamesThePlugInAndTheMakersWebHost) {
  HWND hostWindow = CreateWindowExA(0, "STATIC", "iRelief test host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, hostWindow);
  PlatformDataView platform{reinterpret_cast<intptr_t>(hostWindow)};
  // The About record is not a filter record: platform data comes first.
  struct {
    AboutRecordView about;
    unsigned char rest[256];
  } aboutStorage{};
  aboutStorage.about.platformData = &platform;
  AboutSeen seen;
  HANDLE watcher = CreateThread(nullptr, 0, WatchForAbout, &seen, 0, nullptr);
  ASSERT_NE(nullptr, watcher);
  intptr_t data = 0;
  int16_t result = 0x7777;
  Plugin().entry(kSelectAbout, &aboutStorage, &data, &result);
  WaitForSingleObject(watcher, 15000);
  CloseHandle(watcher);
  DestroyWindow(hostWindow);
  EXPECT_EQ(kResultOk, result);
  ASSERT_NE(nullptr, seen.box) << "no About box appeared";
  EXPECT_EQ(hostWindow, seen.owner) << "the About box is owned by the host's window";
  EXPECT_STREQ("About iRelief", seen.caption);
  EXPECT_NE(std::string::npos, seen.text.find("iRelief")) << "About text: " << seen.text;
  EXPECT_NE(std::string::npos, seen.text.find("www.mirefold.com")) << "About text: " << seen.text;
}

TEST(PluginFile, PropertyListNamesTheEntryPointOfThisArchitecture) {
  PluginFile& file = Plugin();
  ASSERT_NE(nullptr, file.module) << file.problem;
  const uint8_t* list = file.propertyList.data();
  const std::size_t size = file.propertyList.size();
  EXPECT_EQ(7, PiplCount(list, size));
  PiplProperty p{};
  uint32_t kind = 0;
  ASSERT_TRUE(PiplFind(list, size, FourCC("8BIM"), FourCC("kind"), &p));
  ASSERT_TRUE(PiplNumber(p, &kind));
  EXPECT_EQ(FourCC("8BFM"), kind);
  char name[64] = "";
  ASSERT_TRUE(PiplFind(list, size, FourCC("8BIM"), FourCC("name"), &p));
  ASSERT_TRUE(PiplPascalText(p, name, sizeof name));
  EXPECT_STREQ("iRelief", name);
#ifdef _WIN64
  const uint32_t otherKey = FourCC("wx86");
#else
  const uint32_t otherKey = FourCC("8664");
#endif
  EXPECT_FALSE(PiplFind(list, size, FourCC("8BIM"), otherKey, &p))
      << "no entry point for the other architecture";
  EXPECT_EQ("PluginMain", file.entryName);
  EXPECT_NE(nullptr, file.entry);
}

}  // namespace
