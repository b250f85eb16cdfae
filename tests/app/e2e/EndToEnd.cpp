#include "EndToEnd.h"

HMODULE EndToEnd::installer_;
Picture EndToEnd::background_, EndToEnd::exit_, EndToEnd::install_, EndToEnd::finish_, EndToEnd::ind32_,
    EndToEnd::ind64_, EndToEnd::done_, EndToEnd::check_;
MainLayout EndToEnd::layout_;
Bytes EndToEnd::plugin32_, EndToEnd::plugin64_;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kCheckFrame = 13;

}  // namespace

void EndToEnd::SetUpTestSuite() {
  installer_ = LoadLibraryExA(INSTALLER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, installer_) << "cannot open " << INSTALLER_EXE;
  background_ = LoadBitmapResource(installer_, IDB_BACKGROUND);
  exit_ = LoadBitmapResource(installer_, IDB_EXIT_BUTTON);
  install_ = LoadBitmapResource(installer_, IDB_INSTALL_BUTTON);
  finish_ = LoadBitmapResource(installer_, IDB_FINISH_BUTTON);
  ind32_ = LoadBitmapResource(installer_, IDB_INDICATOR32);
  ind64_ = LoadBitmapResource(installer_, IDB_INDICATOR64);
  done_ = LoadBitmapResource(installer_, IDB_COMPLETION_PICTURE);
  check_ = LoadBitmapResource(installer_, IDB_CHECK_BOX_STRIP);
  ASSERT_EQ(600, background_.width) << "background 222 could not be read";
  layout_ = ComputeMainLayout(background_.width, background_.height, 4 + kLeftMargin);
  ASSERT_TRUE(ReadFileBytes(PLUGIN32_PATH, &plugin32_)) << PLUGIN32_PATH;
  ASSERT_TRUE(ReadFileBytes(PLUGIN64_PATH, &plugin64_)) << PLUGIN64_PATH;
  MakeFolders(SHOT_DIR);
}

void EndToEnd::TearDownTestSuite() {
  ClearHostRegistrations();
  RemoveTree(kTestRoot);
  if (installer_) FreeLibrary(installer_);
}

void EndToEnd::SetUp() {
  ClearHostRegistrations();
  ASSERT_TRUE(RemoveTree(kTestRoot)) << "a previous test left " << kTestRoot << " in use";
  ASSERT_TRUE(MakeFolders(kTestRoot));
}

void EndToEnd::Launch(InstallerSession& session) {
  ASSERT_TRUE(session.Start()) << "cannot start " << INSTALLER_EXE << ", error " << GetLastError();
  ASSERT_TRUE(session.WaitForWindow()) << "the installer showed no window";
  ASSERT_TRUE(WaitForScreen(session, [](const Picture& shot) { return Shows(shot, install_, layout_.installButton); }))
      << "the first paint did not complete";
}

::testing::AssertionResult EndToEnd::Shows(const Picture& shot, const Picture& picture, LayoutPoint origin) {
  if (shot.width != background_.width || shot.height != background_.height)
    return ::testing::AssertionFailure() << "client area " << shot.width << "x" << shot.height << ", expected "
                                         << background_.width << "x" << background_.height;
  int compared = 0;
  const int stepX = picture.width > 40 ? picture.width / 20 : 1;
  const int stepY = picture.height > 40 ? picture.height / 20 : 1;
  for (int y = 0; y < picture.height; y += stepY) {
    for (int x = 0; x < picture.width; x += stepX) {
      const std::uint32_t want = picture.At(x, y);
      const int sx = origin.x + x, sy = origin.y + y;
      if (want == kWhite || want == background_.At(sx, sy)) continue;
      ++compared;
      if (shot.At(sx, sy) != want)
        return ::testing::AssertionFailure() << "pixel (" << sx << ", " << sy << "): expected " << Hex(want)
                                             << ", seen " << Hex(shot.At(sx, sy));
    }
  }
  if (compared == 0) return ::testing::AssertionFailure() << "nothing of the picture can be told from the background";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult EndToEnd::ShowsBackgroundUnder(const Picture& shot, const Picture& picture,
                                                          LayoutPoint origin) {
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const int sx = origin.x + x, sy = origin.y + y;
      if (shot.At(sx, sy) != background_.At(sx, sy))
        return ::testing::AssertionFailure() << "pixel (" << sx << ", " << sy << "): expected the background's "
                                             << Hex(background_.At(sx, sy)) << ", seen " << Hex(shot.At(sx, sy));
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult EndToEnd::CheckBoxShows(const Picture& shot, int frame) {
  for (int y = 0; y < kCheckFrame; ++y) {
    for (int x = 0; x < kCheckFrame; ++x) {
      const std::uint32_t want = check_.At(frame * kCheckFrame + x, y);
      const int sx = layout_.selector.left + x, sy = layout_.selector.top + y;
      if (shot.At(sx, sy) != want)
        return ::testing::AssertionFailure() << "check box frame " << frame << ", pixel (" << sx << ", " << sy
                                             << "): expected " << Hex(want) << ", seen " << Hex(shot.At(sx, sy));
    }
  }
  return ::testing::AssertionSuccess();
}

bool EndToEnd::WaitForScreen(const InstallerSession& s,
                             const std::function<::testing::AssertionResult(const Picture&)>& check, Picture* last,
                             DWORD timeoutMs) {
  Picture shot;
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  const bool ok = WaitUntil(
      [&] {
        shot = s.Capture();
        result = check(shot);
        return static_cast<bool>(result);
      },
      timeoutMs);
  if (!ok) ADD_FAILURE() << "screen check timed out: " << result.message();
  if (last) *last = shot;
  return ok;
}

std::string EndToEnd::DismissMessageBox(const InstallerSession& s, DWORD timeoutMs) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = s.FindMessageBox()) != nullptr; }, timeoutMs)) return "";
  const std::string text = InstallerSession::MessageText(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  WaitUntil([&] { return !IsWindow(box); });
  return text;
}
