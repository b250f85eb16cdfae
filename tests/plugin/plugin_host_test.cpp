// The built plug-in of this program's own architecture, run by our test host:
// its property list and entry point, the effect on selections of images of
// every supported mode and depth compared pixel by pixel with the reference,
// settings handed over in the parameters handle, transparency, progress and
// abort on a large image, refused modes, and the About box.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin/DialogIds.h"
#include "plugin/PiplReader.h"
#include "plugin/ReliefSettings.h"
#include "plugin/ScriptedSettings.h"
#include "plugin/SettingsRegistry.h"
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

// The per-user copy of the settings is removed before every test, so that
// no test sees what another left behind.
void ForgetRegistryCopy() { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }

// What the filter leaves as the per-user copy.
bool PutRegistryCopy(const std::vector<uint8_t>& block) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
    return false;
  const LONG status = RegSetValueExA(key, kSettingsValue, 0, REG_BINARY, block.data(), DWORD(block.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

class Relief : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, Plugin().entry) << Plugin().problem;
    ForgetRegistryCopy();
  }
  void TearDown() override { ForgetRegistryCopy(); }
};

// Noise over a few shapes: every pixel differs from its neighbours somewhere.
TestImage Picture(int width, int height, int planes, uint32_t seed, int sampleBytes = 1) {
  TestImage image(width, height, planes, sampleBytes);
  const int scale = sampleBytes == 2 ? 128 : 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int p = 0; p < planes; ++p) {
        seed = seed * 1664525u + 1013904223u;
        const int shape = ((x / 7 + y / 5) % 3) * 90;
        image.At(x, y, p) = static_cast<uint16_t>((shape + (seed >> 27)) * scale + (seed >> 9) % scale);
      }
  return image;
}

void ExpectSameImage(const TestImage& expected, const TestImage& seen, const char* what, int tolerance = 0) {
  ASSERT_EQ(expected.pixels.size(), seen.pixels.size());
  int reported = 0;
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x)
      for (int p = 0; p < expected.planes; ++p)
        if (std::abs(expected.At(x, y, p) - seen.At(x, y, p)) > tolerance && reported++ < 10)
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
  TestRect filter;
};

TEST_F(Relief, SelectionsMatchTheReferenceEverywhere) {
  const Case cases[] = {
      {"grayscale, selection inside the image", 61, 47, 1, modes::kGray, {5, 7, 40, 50}},
      {"grayscale, whole image", 23, 19, 1, modes::kGray, {0, 0, 19, 23}},
      {"RGB, selection along the left and top edges", 53, 41, 3, modes::kRgb, {0, 0, 30, 20}},
      {"RGB, selection in the bottom-right corner", 53, 41, 3, modes::kRgb, {30, 33, 41, 53}},
      {"RGB, one-pixel column", 17, 13, 3, modes::kRgb, {2, 9, 11, 10}},
      {"RGB, one-pixel image", 1, 1, 3, modes::kRgb, {0, 0, 1, 1}},
  };
  uint32_t seed = 7;
  for (const Case& c : cases) {
    TestImage image = Picture(c.width, c.height, c.planes, seed++);
    const TestImage expected = ReliefReference(image, c.filter, c.mode);
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
  options.filter = TestRect{0, 0, 30, 30};
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
  options.filter = TestRect{20, 30, 990, 1470};
  options.maxSpace = 200 * 1000;  // a host short of memory: many bands
  options.rowPadding = 5;
  const TestImage expected = ReliefReference(image, options.filter, modes::kRgb);
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
  options.mode = modes::kGray;
  options.filter = TestRect{0, 0, 600, 800};
  options.maxSpace = 100 * 1000;
  options.abortAtCheck = 3;
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  EXPECT_EQ(host::kContinue, run.failedSelector);
  EXPECT_EQ(host::kUserCancelled, run.failedCode);
  EXPECT_EQ(3, run.continueCalls) << "no band is asked for after the abort";
  EXPECT_EQ(3, run.abortChecks);
  EXPECT_EQ(2u, run.progress.size()) << "progress reports before the abort";
  EXPECT_EQ(original.At(400, 599, 0), image.At(400, 599, 0)) << "last row x=400,y=599 untouched";
}

TEST_F(Relief, UnsupportedModesAreRefused) {
  const int16_t modes[] = {modes::kBitmap, modes::kIndexed, 5, 6, modes::kMultichannel, 8, modes::kDeepMultichannel,
                           modes::kDuotone16, 16, 17, -1};
  for (int16_t mode : modes) {
    TestImage image = Picture(20, 20, 4, 1);
    const TestImage original = image;
    RunOptions options;
    options.mode = mode;
    options.filter = TestRect{0, 0, 20, 20};
    const RunOutcome run = RunFilter(Plugin().entry, image, options);
    EXPECT_EQ(host::kPrepare, run.failedSelector) << "mode " << mode;
    EXPECT_EQ(host::kBadMode, run.failedCode) << "mode " << mode;
    EXPECT_EQ(host::kBadMode, CallOnce(Plugin().entry, host::kStart, image, options)) << "Start, mode " << mode;
    EXPECT_TRUE(image.pixels == original.pixels) << "image untouched, mode " << mode;
  }
}

TEST_F(Relief, ImpossibleSelectionsAreRefusedAndEmptyOnesDoNothing) {
  TestImage image = Picture(20, 10, 3, 2);
  const TestImage original = image;
  RunOptions options;
  options.filter = TestRect{0, 0, 11, 20};  // one row past the bottom
  EXPECT_EQ(host::kBadParameters, CallOnce(Plugin().entry, host::kStart, image, options));
  options.filter = TestRect{0, -1, 10, 20};
  EXPECT_EQ(host::kBadParameters, CallOnce(Plugin().entry, host::kStart, image, options));
  options.filter = TestRect{4, 5, 4, 15};  // no rows
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  ExpectCleanRun(run);
  EXPECT_EQ(0, run.continueCalls);
  EXPECT_TRUE(image.pixels == original.pixels);
  EXPECT_EQ(host::kBadParameters, CallOnce(Plugin().entry, 99, image, options)) << "unknown selector";
}

std::vector<uint8_t> Block(const ReliefSettings& settings) {
  std::vector<uint8_t> block(kSettingsBlockBytes);
  block.resize(WriteSettingsBlock(settings, block.data(), block.size()));
  return block;
}

// Every mode and depth, at the default settings (exactly today's relief) and
// at settings handed over in the parameters handle (within one step of the
// floating-point reference: the filter keeps its weights in 1/256 steps).
TEST_F(Relief, EveryModeAndDepthAtDefaultAndChosenSettings) {
  const ReliefSettings chosen[] = {kDefaultSettings,
                                   {30, 3, 250, ReliefResult::kColours},
                                   {-90, 2, 40, ReliefResult::kGrey},
                                   {180, 10, 500, ReliefResult::kColours}};
  uint32_t seed = 40;
  for (const modes::Mode& m : modes::kSupported)
    for (const ReliefSettings& s : chosen) {
      TestImage image = Picture(45, 38, m.planes, seed++, m.sampleBytes);
      RunOptions options;
      options.mode = m.mode;
      options.filter = TestRect{2, 3, 36, 44};
      std::vector<uint8_t> kept = Block(s);
      options.parameters = &kept;
      const TestImage expected = ReliefReference(image, options.filter, m.mode, s);
      const RunOutcome run = RunFilter(Plugin().entry, image, options);
      std::string what = std::string(m.what) + ", angle " + std::to_string(s.angle) + ", height " +
                         std::to_string(s.height) + ", amount " + std::to_string(s.amount);
      SCOPED_TRACE(what);
      ExpectCleanRun(run);
      ExpectSameImage(expected, image, what.c_str(), s == kDefaultSettings ? 0 : 1);
      EXPECT_EQ(Block(s), kept) << "the parameters handle still holds the settings";
    }
}

// A layer with transparency: the transparency plane stays, transparent
// pixels keep their colour, and the relief next to them sees no edge.
TEST_F(Relief, TransparencyStaysAndRaisesNoEdge) {
  for (const modes::Mode& m : modes::kSupported) {
    TestImage image(40, 30, m.planes + 1, m.sampleBytes);
    const int opaque = image.MaxValue();
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        for (int p = 0; p < m.planes; ++p) image.At(x, y, p) = static_cast<uint16_t>(opaque * (p + 1) / 6);
        // A transparent hole, a half-transparent ring, the rest opaque.
        const int d = (x - 20) * (x - 20) + (y - 15) * (y - 15);
        image.At(x, y, m.planes) = static_cast<uint16_t>(d < 25 ? 0 : d < 64 ? opaque / 2 : opaque);
        if (d < 25) image.At(x, y, 0) = static_cast<uint16_t>(opaque / 9);  // colour of nothing
      }
    const TestImage original = image;
    RunOptions options;
    options.mode = m.mode;
    options.filter = TestRect{0, 0, 30, 40};
    const RunOutcome run = RunFilter(Plugin().entry, image, options);
    SCOPED_TRACE(m.what);
    ExpectCleanRun(run);
    ExpectSameImage(ReliefReference(original, options.filter, m.mode, kDefaultSettings, true), image, m.what, 1);
    const int middle = m.sampleBytes == 1 ? 128 : 16384;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(original.At(x, y, m.planes), image.At(x, y, m.planes)) << "transparency x=" << x << ",y=" << y;
        if (original.At(x, y, m.planes) == 0) {
          ASSERT_EQ(original.At(x, y, 0), image.At(x, y, 0)) << "transparent pixel keeps its colour";
        } else {
          ASSERT_EQ(middle, image.At(x, y, 0)) << "a flat colour stays flat next to transparency, x=" << x
                                               << ",y=" << y;
        }
      }
  }
}

// A large band is shared among threads; the result is the same.
TEST_F(Relief, LargeBandsOnEveryCore) {
  for (const modes::Mode& m : {modes::kSupported[3], modes::kSupported[4]}) {
    TestImage image = Picture(1200, 700, m.planes, 3, m.sampleBytes);
    RunOptions options;
    options.mode = m.mode;
    options.filter = TestRect{1, 2, 699, 1199};
    const TestImage expected = ReliefReference(image, options.filter, m.mode);
    const RunOutcome run = RunFilter(Plugin().entry, image, options);
    SCOPED_TRACE(m.what);
    ExpectCleanRun(run);
    ExpectSameImage(expected, image, m.what);
    EXPECT_LE(run.continueCalls, 4) << "few, large bands";
  }
}

// The settings come back: from the parameters handle the host keeps, else
// from the per-user copy; a damaged or older handle gives the defaults.
TEST_F(Relief, SettingsFromTheHandleOrTheUsersCopy) {
  const ReliefSettings chosen{-45, 2, 300, ReliefResult::kGrey};
  ASSERT_TRUE(PutRegistryCopy(Block(chosen)));
  const TestRect whole{0, 0, 30, 40};
  TestImage image = Picture(40, 30, 3, 9);
  const TestImage original = image;
  RunOptions options;
  options.filter = whole;
  options.offerHandles = false;  // a host that keeps no handle: the user's copy
  ExpectCleanRun(RunFilter(Plugin().entry, image, options));
  ExpectSameImage(ReliefReference(original, whole, modes::kRgb, chosen), image, "settings from the user's copy", 1);

  std::vector<uint8_t> damaged = Block(kDefaultSettings);
  damaged[10] ^= 0x40;  // the height, and the check sum no longer fits
  ForgetRegistryCopy();
  image = original;
  options.offerHandles = true;
  options.parameters = &damaged;
  ExpectCleanRun(RunFilter(Plugin().entry, image, options));
  ExpectSameImage(ReliefReference(original, whole, modes::kRgb), image, "damaged handle: the defaults");

  std::vector<uint8_t> older = Block(chosen);
  older[4] = 0;  // version 0
  image = original;
  options.parameters = &older;
  ExpectCleanRun(RunFilter(Plugin().entry, image, options));
  ExpectSameImage(ReliefReference(original, whole, modes::kRgb), image, "older handle: the defaults");

  std::vector<uint8_t> kept = Block(chosen);
  image = original;
  options.parameters = &kept;
  ExpectCleanRun(RunFilter(Plugin().entry, image, options));
  ExpectSameImage(ReliefReference(original, whole, modes::kRgb, chosen), image, "the handle the host kept", 1);
}

// The settings dialog, found and driven by a second thread while the
// filter's Parameters call runs on this one.
struct DialogDrive {
  // What to do with the dialog once it shows; runs on the driving thread.
  void (*act)(DialogDrive* drive) = nullptr;
  HWND dialog = nullptr;
  HWND owner = nullptr;
  std::wstring caption;
  bool closed = false;  // the dialog was gone after the act
  uint32_t previewBefore = 0, previewAfter = 0;
  int shownAngle = 0, shownHeight = 0, shownAmount = 0;
  LRESULT shownResult = -1;
  std::vector<int> tabOrder;
  std::wstring labels;
};

BOOL CALLBACK FindSettingsDialog(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  wchar_t cls[32] = L"", caption[64] = L"";
  GetWindowThreadProcessId(hwnd, &pid);
  GetClassNameW(hwnd, cls, 32);
  GetWindowTextW(hwnd, caption, 64);
  if (pid == GetCurrentProcessId() && !lstrcmpW(cls, L"#32770") && IsWindowVisible(hwnd) &&
      !lstrcmpW(caption, L"iRelief")) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A check sum of what the preview shows on the screen.
uint32_t PreviewPixels(HWND dialog) {
  HWND preview = GetDlgItem(dialog, IDC_PREVIEW);
  RECT r{};
  GetClientRect(preview, &r);
  UpdateWindow(preview);
  HDC screen = GetDC(preview);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(std::size_t(r.right) * r.bottom);
  GetDIBits(memory, bitmap, 0, r.bottom, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(preview, screen);
  uint32_t h = 2166136261u;
  for (uint32_t p : pixels) h = (h ^ (p & 0xFFFFFF)) * 16777619u;
  return h;
}

// Saves the dialog as it shows on the screen as a 24-bit BMP file.
void SaveScreenshot(HWND dialog, const char* path) {
  RECT r{};
  GetWindowRect(dialog, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetWindowDC(dialog);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  const int rowBytes = (w * 3 + 3) & ~3;
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint8_t> pixels(std::size_t(rowBytes) * h);
  GetDIBits(memory, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(dialog, screen);
  BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + pixels.size()), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, &file, sizeof file, &written, nullptr);
  WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
  WriteFile(out, pixels.data(), DWORD(pixels.size()), &written, nullptr);
  CloseHandle(out);
}

DWORD WINAPI DriveDialog(void* param) {
  auto* drive = static_cast<DialogDrive*>(param);
  for (int i = 0; i < 300 && !drive->dialog; ++i) {
    Sleep(50);
    EnumWindows(FindSettingsDialog, reinterpret_cast<LPARAM>(&drive->dialog));
  }
  if (!drive->dialog) return 1;
  Sleep(200);
  HWND d = drive->dialog;
  drive->owner = GetWindow(d, GW_OWNER);
  BOOL ok = FALSE;
  drive->shownAngle = int(GetDlgItemInt(d, IDC_ANGLE, &ok, TRUE));
  drive->shownHeight = int(GetDlgItemInt(d, IDC_HEIGHT, &ok, FALSE));
  drive->shownAmount = int(GetDlgItemInt(d, IDC_AMOUNT, &ok, FALSE));
  drive->shownResult = SendDlgItemMessageW(d, IDC_RESULT, CB_GETCURSEL, 0, 0);
  HWND control = GetDlgItem(d, IDC_ANGLE);
  for (int i = 0; i < 6 && control; ++i) {
    drive->tabOrder.push_back(GetDlgCtrlID(control));
    control = GetNextDlgTabItem(d, control, FALSE);
  }
  for (int id : {IDC_ANGLE, IDC_HEIGHT, IDC_AMOUNT, IDC_RESULT}) {
    // The label before each control names it, with its access key.
    wchar_t text[64] = L"";
    GetWindowTextW(GetWindow(GetDlgItem(d, id), GW_HWNDPREV), text, 64);
    drive->labels += text;
    drive->labels += L"|";
  }
  drive->previewBefore = PreviewPixels(d);
  if (const char* shot = getenv("IRELIEF_DIALOG_SCREENSHOT")) SaveScreenshot(d, shot);
  drive->act(drive);
  for (int i = 0; i < 100 && IsWindow(d) && IsWindowVisible(d); ++i) Sleep(50);
  drive->closed = !IsWindow(d) || !IsWindowVisible(d);
  return 0;
}

void SetNumber(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }

void ChooseColours(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_RESULT, CB_SETCURSEL, 1, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_RESULT, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_RESULT)));
}

void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

const ReliefSettings kChosenInDialog{-60, 2, 250, ReliefResult::kColours};

class Dialog : public Relief {
 protected:
  void SetUp() override {
    Relief::SetUp();
    host = CreateWindowExA(0, "STATIC", "iRelief test host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, host);
  }
  void TearDown() override {
    DestroyWindow(host);
    Relief::TearDown();
  }
  // Runs the filter from the Parameters call on, the dialog driven by `act`.
  RunOutcome Run(void (*act)(DialogDrive*), TestImage& image, std::vector<uint8_t>* kept, DialogDrive* drive,
                 bool offerDisplay = false, bool offerAdvanceState = false, std::vector<ScriptItem>* script = nullptr) {
    RunOptions options;
    options.script = script;
    options.offerDisplay = offerDisplay;
    options.offerAdvanceState = offerAdvanceState;
    options.filter = TestRect{0, 0, int16_t(image.height), int16_t(image.width)};
    options.askParameters = true;
    options.hostWindow = host;
    options.parameters = kept;
    drive->act = act;
    HANDLE thread = CreateThread(nullptr, 0, DriveDialog, drive, 0, nullptr);
    const RunOutcome run = RunFilter(Plugin().entry, image, options);
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    return run;
  }
  HWND host = nullptr;
};

TEST_F(Dialog, OkWithChangedSettingsAppliesThemAndRemembersThem) {
  TestImage image = Picture(60, 40, 3, 21);
  const TestImage original = image;
  std::vector<uint8_t> kept;  // the host keeps no settings yet
  DialogDrive drive;
  const RunOutcome run = Run(
      [](DialogDrive* d) {
        SetNumber(d->dialog, IDC_ANGLE, L"-60");
        SetNumber(d->dialog, IDC_HEIGHT, L"2");
        SetNumber(d->dialog, IDC_AMOUNT, L"250");
        ChooseColours(d->dialog);
        Sleep(100);
        d->previewAfter = PreviewPixels(d->dialog);
        Press(d->dialog, IDOK);
      },
      image, &kept, &drive);
  ASSERT_NE(nullptr, drive.dialog) << "no settings dialog appeared";
  EXPECT_EQ(host, drive.owner) << "owned by the host's window";
  EXPECT_TRUE(drive.closed);
  EXPECT_EQ(135, drive.shownAngle) << "the defaults at first";
  EXPECT_EQ(1, drive.shownHeight);
  EXPECT_EQ(100, drive.shownAmount);
  EXPECT_EQ(0, drive.shownResult);
  EXPECT_NE(drive.previewBefore, drive.previewAfter) << "the preview follows the settings";
  EXPECT_EQ((std::vector<int>{IDC_ANGLE, IDC_HEIGHT, IDC_AMOUNT, IDC_RESULT, IDOK, IDCANCEL}), drive.tabOrder)
      << "the keyboard reaches every control in order";
  EXPECT_EQ(L"&Angle of the light:|&Height:|A&mount:|&Result:|", drive.labels);
  ExpectCleanRun(run);
  ExpectSameImage(ReliefReference(original, TestRect{0, 0, 40, 60}, modes::kRgb, kChosenInDialog), image,
                  "settings chosen in the dialog", 1);
  EXPECT_EQ(Block(kChosenInDialog), kept) << "kept in the parameters handle";

  // Next time the dialog opens on them, from the handle; Cancel then
  // changes nothing, neither the image nor the kept settings.
  image = original;
  DialogDrive again;
  const RunOutcome cancelled = Run(
      [](DialogDrive* d) {
        SetNumber(d->dialog, IDC_AMOUNT, L"10");
        Press(d->dialog, IDCANCEL);
      },
      image, &kept, &again);
  EXPECT_EQ(-60, again.shownAngle);
  EXPECT_EQ(2, again.shownHeight);
  EXPECT_EQ(250, again.shownAmount);
  EXPECT_EQ(1, again.shownResult);
  EXPECT_EQ(host::kParameters, cancelled.failedSelector);
  EXPECT_EQ(host::kUserCancelled, cancelled.failedCode);
  EXPECT_EQ(0, cancelled.continueCalls);
  EXPECT_TRUE(image.pixels == original.pixels) << "Cancel leaves the image";
  EXPECT_EQ(Block(kChosenInDialog), kept) << "Cancel leaves the kept settings";

  // A host that keeps no handle: the per-user copy brings them back.
  std::vector<uint8_t> none;
  DialogDrive fromCopy;
  Run([](DialogDrive* d) { Press(d->dialog, IDCANCEL); }, image, &none, &fromCopy);
  EXPECT_EQ(-60, fromCopy.shownAngle) << "from the per-user copy";
}

TEST_F(Dialog, AValueOutOfRangeKeepsTheDialogOpen) {
  TestImage image = Picture(30, 20, 3, 22);
  std::vector<uint8_t> kept;
  DialogDrive drive;
  static bool stayedOpen = false;
  const RunOutcome run = Run(
      [](DialogDrive* d) {
        SetNumber(d->dialog, IDC_HEIGHT, L"11");
        Press(d->dialog, IDOK);
        Sleep(300);
        stayedOpen = IsWindowVisible(d->dialog) != FALSE;
        SetNumber(d->dialog, IDC_HEIGHT, L"1");
        Press(d->dialog, IDOK);
      },
      image, &kept, &drive);
  EXPECT_TRUE(stayedOpen) << "OK with height 11 does not close the dialog";
  EXPECT_TRUE(drive.closed);
  ExpectCleanRun(run);
}

// A host that draws pixels for its plug-ins gets the preview to draw, and
// again after every change of the settings.
TEST_F(Dialog, PreviewDrawnThroughTheHostWhereItOffersTo) {
  TestImage image = Picture(30, 20, 3, 23);
  std::vector<uint8_t> kept;
  DialogDrive drive;
  TakeDisplayedPixels();
  const RunOutcome run = Run(
      [](DialogDrive* d) {
        SetNumber(d->dialog, IDC_HEIGHT, L"4");
        Sleep(100);
        UpdateWindow(d->dialog);
        PreviewPixels(d->dialog);
        Press(d->dialog, IDOK);
      },
      image, &kept, &drive, true);
  ExpectCleanRun(run);
  const DisplayedPixels seen = TakeDisplayedPixels();
  ASSERT_GE(seen.calls, 2) << "drawn when shown and after the change";
  EXPECT_TRUE(seen.sound) << "pixel maps of interleaved RGB, within their bounds";
  EXPECT_EQ(200, seen.width);
  EXPECT_EQ(150, seen.height);
  EXPECT_NE(seen.checksums.front(), seen.checksums.back()) << "the drawn preview follows the height";
}

// The check sum DisplayPixels takes of interleaved RGB.
uint32_t RgbChecksum(const TestImage& rgb) {
  uint32_t sum = 2166136261u;
  for (uint16_t v : rgb.pixels) sum = (sum ^ uint8_t(v)) * 16777619u;
  return sum;
}

// A host that samples its image for the filter: the dialog waits for Start,
// previews the relief of a proxy of the host's own image (every third pixel
// of every third row of a 600 x 300 picture), and Cancel ends the filter
// there with the image untouched.
TEST_F(Dialog, AtStartThePreviewIsTheReliefOfTheHostsImage) {
  TestImage image = Picture(600, 300, 3, 29);
  const TestImage original = image;
  TestImage sampled(200, 100, 3);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      for (int p = 0; p < 3; ++p) sampled.At(x, y, p) = original.At(x * 3, y * 3, p);
  const TestImage expected = ReliefReference(sampled, TestRect{0, 0, 100, 200}, modes::kRgb, kDefaultSettings);
  std::vector<uint8_t> kept;
  DialogDrive drive;
  TakeDisplayedPixels();
  TakeProxyRequests();
  const RunOutcome run = Run([](DialogDrive* d) { Press(d->dialog, IDCANCEL); }, image, &kept, &drive, true, true);
  ASSERT_NE(nullptr, drive.dialog) << "no settings dialog appeared";
  EXPECT_TRUE(drive.closed);
  const std::vector<ProxyRequest> asked = TakeProxyRequests();
  ASSERT_EQ(1u, asked.size()) << "one proxy, asked for once";
  EXPECT_EQ(3 << 16, asked[0].inputRate);
  EXPECT_EQ(0, asked[0].inRect.top);
  EXPECT_EQ(0, asked[0].inRect.left);
  EXPECT_EQ(100, asked[0].inRect.bottom);
  EXPECT_EQ(200, asked[0].inRect.right);
  const DisplayedPixels seen = TakeDisplayedPixels();
  ASSERT_GE(seen.calls, 1);
  EXPECT_TRUE(seen.sound);
  EXPECT_EQ(200, seen.width);
  EXPECT_EQ(100, seen.height);
  EXPECT_EQ(RgbChecksum(expected), seen.checksums.front()) << "the relief of the host's own image";
  EXPECT_EQ(host::kStart, run.failedSelector);
  EXPECT_EQ(host::kUserCancelled, run.failedCode);
  EXPECT_EQ(0, run.continueCalls);
  EXPECT_TRUE(run.problems.empty());
  EXPECT_TRUE(image.pixels == original.pixels) << "Cancel leaves the image byte for byte";
  EXPECT_TRUE(kept.empty()) << "Cancel keeps no settings";
}

// OK at Start applies the setting changed in the dialog; the real run gets
// its rectangles at the full rate again. Without displayPixels the dialog
// draws the proxy itself, and the drawing follows the settings.
TEST_F(Dialog, AtStartOkWithAChangedSettingChangesTheOutput) {
  TestImage image = Picture(60, 40, 3, 31);
  const TestImage original = image;
  std::vector<uint8_t> kept;
  DialogDrive drive;
  TakeProxyRequests();
  const RunOutcome run = Run(
      [](DialogDrive* d) {
        SetNumber(d->dialog, IDC_HEIGHT, L"3");
        Sleep(100);
        d->previewAfter = PreviewPixels(d->dialog);
        Press(d->dialog, IDOK);
      },
      image, &kept, &drive, false, true);
  ASSERT_NE(nullptr, drive.dialog) << "no settings dialog appeared";
  ExpectCleanRun(run);  // among others: the input rate was put back before the first band
  const std::vector<ProxyRequest> asked = TakeProxyRequests();
  ASSERT_EQ(1u, asked.size());
  EXPECT_EQ(1 << 16, asked[0].inputRate) << "a small image is its own proxy";
  EXPECT_NE(drive.previewBefore, drive.previewAfter) << "our own drawing follows the height";
  ReliefSettings chosen = kDefaultSettings;
  chosen.height = 3;
  const TestRect whole{0, 0, 40, 60};
  ExpectSameImage(ReliefReference(original, whole, modes::kRgb, chosen), image, "the height chosen in the dialog", 1);
  EXPECT_FALSE(image.pixels == ReliefReference(original, whole, modes::kRgb, kDefaultSettings).pixels);
  EXPECT_EQ(Block(chosen), kept) << "kept in the parameters handle";
}

// Watches for the settings dialog while a run that should show none goes
// on; cancels it if it shows.
struct DialogWatch {
  volatile LONG stop = 0;
  HWND seen = nullptr;
};

DWORD WINAPI WatchForDialog(void* param) {
  auto* watch = static_cast<DialogWatch*>(param);
  while (!watch->stop && !watch->seen) {
    Sleep(20);
    EnumWindows(FindSettingsDialog, reinterpret_cast<LPARAM>(&watch->seen));
  }
  if (watch->seen) Press(watch->seen, IDCANCEL);
  return 0;
}

std::vector<ScriptItem> Script(const ReliefSettings& s) {
  return {{kKeyAngle, s.angle, false},
          {kKeyHeight, s.height, false},
          {kKeyAmount, s.amount, false},
          {kKeyColours, s.result == ReliefResult::kColours, true}};
}

bool SameScript(const std::vector<ScriptItem>& a, const std::vector<ScriptItem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].key != b[i].key || a[i].value != b[i].value || a[i].boolean != b[i].boolean) return false;
  return true;
}

// Scripting: a run records its settings; a recorded step played back
// without its dialog runs with them and shows nothing; a recorded step whose
// values are out of range fails plainly.
TEST_F(Dialog, StepsAreRecordedAndPlayedBackWithoutTheDialog) {
  const ReliefSettings kept{75, 3, 180, ReliefResult::kGrey};
  std::vector<uint8_t> handle = Block(kept);
  std::vector<ScriptItem> script;  // nothing to play back
  TestImage image = Picture(50, 40, 3, 31);
  const TestImage original = image;
  RunOptions options;
  options.filter = TestRect{0, 0, 40, 50};
  options.parameters = &handle;
  options.script = &script;
  ExpectCleanRun(RunFilter(Plugin().entry, image, options));
  EXPECT_TRUE(SameScript(Script(kept), script)) << "the run's settings are recorded";

  const ReliefSettings played{-120, 5, 60, ReliefResult::kColours};
  script = Script(played);
  image = original;
  options.askParameters = true;
  options.playInfo = host::kPlayDontDisplay;
  options.hostWindow = host;
  DialogWatch watch;
  HANDLE thread = CreateThread(nullptr, 0, WatchForDialog, &watch, 0, nullptr);
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  Sleep(300);
  InterlockedExchange(&watch.stop, 1);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  EXPECT_EQ(nullptr, watch.seen) << "no dialog for a step played back without it";
  ExpectCleanRun(run);
  ExpectSameImage(ReliefReference(original, options.filter, modes::kRgb, played), image, "played-back settings", 1);
  EXPECT_EQ(Block(played), handle) << "and kept as the last settings";
  EXPECT_TRUE(SameScript(Script(played), script)) << "recorded again as played";

  script = Script(played);
  script[2].value = 9999;  // amount out of range
  image = original;
  const RunOutcome bad = RunFilter(Plugin().entry, image, options);
  EXPECT_EQ(host::kParameters, bad.failedSelector);
  EXPECT_EQ(host::kBadParameters, bad.failedCode);
  EXPECT_TRUE(image.pixels == original.pixels);
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
  AboutSeen seen;
  HANDLE watcher = CreateThread(nullptr, 0, WatchForAbout, &seen, 0, nullptr);
  ASSERT_NE(nullptr, watcher);
  const int16_t result = CallAbout(Plugin().entry, hostWindow);
  WaitForSingleObject(watcher, 15000);
  CloseHandle(watcher);
  DestroyWindow(hostWindow);
  EXPECT_EQ(host::kOk, result);
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
  EXPECT_EQ(8, PiplCount(list, size));
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

// A host that misbehaves, or is short of memory, never brings itself down
// and never costs the user's settings.

// Answers every settings dialog that shows with one button, counting them.
struct AutoAnswer {
  int button = IDOK;
  volatile LONG stop = 0;
  int shown = 0;
};

BOOL CALLBACK FindShownDialog(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  wchar_t cls[32] = L"", caption[64] = L"";
  GetWindowThreadProcessId(hwnd, &pid);
  GetClassNameW(hwnd, cls, 32);
  if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") || !IsWindowVisible(hwnd)) return TRUE;
  InternalGetWindowText(hwnd, caption, 64);  // asking the window itself would wait on its thread
  if (lstrcmpW(caption, L"iRelief")) return TRUE;
  *reinterpret_cast<HWND*>(param) = hwnd;
  return FALSE;
}

DWORD WINAPI AnswerEveryDialog(void* param) {
  auto* answer = static_cast<AutoAnswer*>(param);
  HWND last = nullptr;
  while (!answer->stop) {
    HWND found = nullptr;
    EnumWindows(FindShownDialog, reinterpret_cast<LPARAM>(&found));
    if (found && found != last) {
      ++answer->shown;
      last = found;
      PostMessageW(found, WM_COMMAND, MAKEWPARAM(answer->button, BN_CLICKED), 0);
    }
    Sleep(20);
  }
  return 0;
}

// A run with its dialogs answered by AnswerEveryDialog.
RunOutcome RunAnswered(TestImage& image, const RunOptions& options, AutoAnswer* answer) {
  HANDLE thread = CreateThread(nullptr, 0, AnswerEveryDialog, answer, 0, nullptr);
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  Sleep(100);  // a dialog that shows late is still counted
  InterlockedExchange(&answer->stop, 1);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  return run;
}

// Every allocation of the plug-in in turn fails, on both ways to the
// dialog: each run ends with the relief or with the out-of-memory result
// and the image as it was, and the host goes on.
TEST_F(Dialog, ShortOfMemoryTheFilterSaysSoAndTheHostGoesOn) {
  const TestImage original = Picture(600, 300, 3, 41);  // a proxy at rate 3
  const TestImage expected = ReliefReference(original, TestRect{0, 0, 300, 600}, modes::kRgb);
  for (bool atStart : {true, false}) {
    int outOfMemory = 0;
    for (int failFrom = 1; failFrom < 60; ++failFrom) {
      TestImage image = original;
      RunOptions options;
      options.filter = TestRect{0, 0, 300, 600};
      options.askParameters = true;
      options.hostWindow = host;
      options.offerAdvanceState = atStart;
      AutoAnswer answer;
      ASSERT_TRUE(FailPluginAllocations(Plugin().module, failFrom)) << "the plug-in imports malloc";
      const RunOutcome run = RunAnswered(image, options, &answer);
      const int asked = PluginAllocations();
      FailPluginAllocations(Plugin().module, 0);
      const std::string what = std::string(atStart ? "dialog at Start" : "dialog at Parameters") +
                               ", allocations failing from the " + std::to_string(failFrom) + "th";
      for (const std::string& problem : run.problems) ADD_FAILURE() << what << ": " << problem;
      if (run.failedSelector >= 0) {
        EXPECT_EQ(host::kOutOfMemory, run.failedCode) << what << ", selector " << run.failedSelector;
        EXPECT_TRUE(image.pixels == original.pixels) << what << ": the image as it was";
        ++outOfMemory;
      } else {
        ExpectSameImage(expected, image, what.c_str());
      }
      if (asked < failFrom) break;  // no allocation failed: every one has had its turn
    }
    EXPECT_GT(outOfMemory, 0) << (atStart ? "at Start" : "at Parameters") << ": some failure reached the host";
  }
}

// A played-back step whose dialog the user changes runs as changed; a
// recorded step that lacks keys runs with the defaults for them, never with
// the user's last settings.
TEST_F(Dialog, PlayedBackStepsRunAsTheUserChangedThemOrWithTheDefaults) {
  const ReliefSettings played{-120, 5, 60, ReliefResult::kColours};
  std::vector<ScriptItem> script = Script(played);
  TestImage image = Picture(60, 40, 3, 43);
  const TestImage original = image;
  std::vector<uint8_t> kept = Block(kChosenInDialog);
  DialogDrive drive;
  const RunOutcome run = Run(
      [](DialogDrive* d) {
        SetNumber(d->dialog, IDC_HEIGHT, L"2");
        Press(d->dialog, IDOK);
      },
      image, &kept, &drive, false, false, &script);
  ASSERT_NE(nullptr, drive.dialog) << "the step asks for its dialog";
  EXPECT_EQ(-120, drive.shownAngle) << "the dialog starts from the played-back step";
  EXPECT_EQ(5, drive.shownHeight);
  ExpectCleanRun(run);
  ReliefSettings changed = played;
  changed.height = 2;
  ExpectSameImage(ReliefReference(original, TestRect{0, 0, 40, 60}, modes::kRgb, changed), image,
                  "the step as the user changed it", 1);
  EXPECT_TRUE(SameScript(Script(changed), script)) << "recorded as changed";
  EXPECT_EQ(Block(changed), kept);

  script = {{kKeyHeight, 4, false}};  // a step recorded with the height alone
  kept = Block(kChosenInDialog);
  image = original;
  RunOptions options;
  options.filter = TestRect{0, 0, 40, 60};
  options.askParameters = true;
  options.parameters = &kept;
  options.script = &script;
  options.playInfo = host::kPlayDontDisplay;
  AutoAnswer answer;
  const RunOutcome partial = RunAnswered(image, options, &answer);
  EXPECT_EQ(0, answer.shown) << "no dialog for a step played back without it";
  ExpectCleanRun(partial);
  ReliefSettings defaults = kDefaultSettings;
  defaults.height = 4;
  ExpectSameImage(ReliefReference(original, TestRect{0, 0, 40, 60}, modes::kRgb, defaults), image,
                  "the defaults for the keys the step lacks", 1);
}

// A host whose descriptor reader never runs out of keys: the step is not
// read forever, and fails plainly.
TEST_F(Relief, ADescriptorThatNeverEndsIsNotReadForever) {
  std::vector<ScriptItem> script = Script(ReliefSettings{10, 2, 90, ReliefResult::kGrey});
  TestImage image = Picture(30, 20, 3, 44);
  const TestImage original = image;
  RunOptions options;
  options.filter = TestRect{0, 0, 20, 30};
  options.askParameters = true;
  options.script = &script;
  options.endlessScript = true;
  options.playInfo = host::kPlayDontDisplay;
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  EXPECT_EQ(host::kParameters, run.failedSelector);
  EXPECT_EQ(host::kBadParameters, run.failedCode);
  EXPECT_GT(run.descriptorKeysGiven, 4);
  EXPECT_LE(run.descriptorKeysGiven, 100) << "keys read before giving up";
  EXPECT_TRUE(image.pixels == original.pixels);
}

// Planes past the colour planes are what the host's counts say: a layer's
// transparency, or an extra channel of a flat image, which is relieved
// around as opaque and never written.
TEST_F(Relief, AnExtraChannelIsNotTransparency) {
  for (const modes::Mode& m : {modes::kSupported[0], modes::kSupported[2]}) {
    TestImage image = Picture(40, 30, m.planes + 1, 45);
    const TestImage original = image;
    RunOptions options;
    options.mode = m.mode;
    options.filter = TestRect{0, 0, 30, 40};
    options.extraPlanes = ExtraPlanes::kNonLayerChannel;
    SCOPED_TRACE(m.what);
    ExpectCleanRun(RunFilter(Plugin().entry, image, options));
    ExpectSameImage(ReliefReference(original, options.filter, m.mode), image, "an extra channel");
    image = original;
    options.extraPlanes = ExtraPlanes::kLayerTransparency;
    ExpectCleanRun(RunFilter(Plugin().entry, image, options));
    ExpectSameImage(ReliefReference(original, options.filter, m.mode, kDefaultSettings, true), image,
                    "a layer's transparency", 1);
  }
}

// The dialog that waits for Start shows once in a run that asks for it, and
// not in a later run that does not, also when the run that asked stopped
// between Parameters and Start.
TEST_F(Dialog, TheDialogAtStartShowsOncePerRunThatAsksForIt) {
  const TestImage original = Picture(60, 40, 3, 46);
  const TestImage expected = ReliefReference(original, TestRect{0, 0, 40, 60}, modes::kRgb);
  intptr_t word = 0;  // kept by the host while the plug-in is loaded
  RunOptions options;
  options.filter = TestRect{0, 0, 40, 60};
  options.hostWindow = host;
  options.offerAdvanceState = true;
  options.dataWord = &word;
  options.askParameters = true;
  options.stopAfter = host::kPrepare;  // the host stops before Start
  TestImage image = original;
  AutoAnswer stopped;
  RunAnswered(image, options, &stopped);
  EXPECT_EQ(0, stopped.shown) << "no dialog in a run stopped before Start";
  EXPECT_TRUE(image.pixels == original.pixels);

  options.askParameters = false;  // the host repeats the filter
  options.stopAfter = -1;
  AutoAnswer repeat;
  ExpectCleanRun(RunAnswered(image, options, &repeat));
  EXPECT_EQ(0, repeat.shown) << "no dialog when the filter is repeated";
  ExpectSameImage(expected, image, "repeated with the settings in force");

  options.askParameters = true;
  image = original;
  AutoAnswer asked;
  ExpectCleanRun(RunAnswered(image, options, &asked));
  EXPECT_EQ(1, asked.shown) << "the dialog once in a run that asks for it";
  ExpectSameImage(expected, image, "after OK");
}

// A host with little memory to spare: bands count the extra rows a height
// of 10 reads, and are never so thin that every row costs a call.
TEST_F(Relief, LittleMemoryDoesNotCostACallPerRow) {
  TestImage image = Picture(300, 2000, 1, 47);
  const TestImage original = image;
  const ReliefSettings tall{45, 10, 100, ReliefResult::kGrey};
  std::vector<uint8_t> kept = Block(tall);
  RunOptions options;
  options.mode = modes::kGray;
  options.filter = TestRect{0, 0, 2000, 300};
  options.maxSpace = 2000;  // not even one row of input with its extra rows
  options.parameters = &kept;
  const RunOutcome run = RunFilter(Plugin().entry, image, options);
  ExpectCleanRun(run);
  EXPECT_LE(run.continueCalls, 2000 / 16 + 1) << "bands asked for";
  ExpectSameImage(ReliefReference(original, options.filter, modes::kGray, tall), image, "in thin bands", 1);
}

}  // namespace
