// The installer at the display's scale: the display set to 100 %, 150 % and
// 200 % as a user sets it (LogPixels of the current user, which a program
// started afterwards reads), the real installer started, and its window
// judged by where things are, what the screen shows against the pictures the
// art script drew at that scale, and what a click and a key reach.
#include "AtScale.h"
#include "KeyboardUser.h"
#include "jui/PackedPicture.h"

namespace {

// Every larger set as the exe carries it, decoded here over the set below
// it from the 100 % bitmaps up, is what the art check decoded: the two
// decoders agree to the last bit, the 300 % set (too large for the test
// display) included.
TEST_F(Scale, EveryLargerSetDecodesToThePicturesTheArtCheckDecoded) {
  const char* stems[] = {"bg222", "done213", "exit203", "install219", "finish220", "ind224", "ind225", "check128"};
  for (const char* stem : stems) {
    const unsigned id = static_cast<unsigned>(std::atoi(stem + std::strcspn(stem, "0123456789")));
    Picture below = LoadBitmapResource(installer_, static_cast<int>(id));
    ASSERT_GT(below.width, 0) << stem;
    for (int set = 1; set < kPictureSetCount; ++set) {
      const int dpi = kPictureSetDpis[set];
      HRSRC found = FindResourceA(installer_, MAKEINTRESOURCEA(PictureSetResourceId(id, dpi)), "JPK");
      ASSERT_NE(nullptr, found) << stem << " at " << dpi;
      const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(installer_, found)));
      const DWORD size = SizeofResource(installer_, found);
      PackedPictureInfo info;
      ASSERT_TRUE(ReadPackedPictureHeader(data, size, &info)) << stem << " at " << dpi;
      EXPECT_EQ(kPictureSetDpis[set - 1], info.baseDpi) << stem << " is stored over the next smaller set";
      // Pixels as blue, green, red bytes, rows from the top.
      std::vector<std::uint8_t> base;
      for (std::uint32_t c : below.pixels)
        for (int shift : {0, 8, 16}) base.push_back(static_cast<std::uint8_t>(c >> shift));
      std::vector<std::uint8_t> pixels(static_cast<std::size_t>(info.width) * info.height * 3);
      std::vector<std::uint8_t> scratch(PackedPictureScratch(info));
      ASSERT_TRUE(DecodePackedPicture(data, size, base.data(), static_cast<std::size_t>(below.width) * 3,
                                      pixels.data(), static_cast<std::size_t>(info.width) * 3, scratch.data(),
                                      scratch.size()))
          << stem << " at " << dpi;
      Picture decoded;
      decoded.width = info.width;
      decoded.height = info.height;
      for (std::size_t i = 0; i < pixels.size(); i += 3)
        decoded.pixels.push_back(static_cast<std::uint32_t>(pixels[i + 2]) << 16 | pixels[i + 1] << 8 | pixels[i]);
      char name[64];
      std::snprintf(name, sizeof name, "\\%s-%d.bmp", stem, dpi);
      const Picture expected = ReadBmpFile(std::string(SHOWN_DIR) + name);
      ASSERT_EQ(expected.width, decoded.width) << name;
      ASSERT_EQ(expected.height, decoded.height) << name;
      EXPECT_TRUE(expected.pixels == decoded.pixels) << name << " differs from what the art check decoded";
      below = decoded;
    }
  }
}

TEST_F(Scale, At100PercentTheWindowIsTheDesignPixelForPixel) {
  InstallerSession s;
  LaunchAt(s, 96);
  ExpectWindowAtScale(s);
  PostMessageA(s.Window(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(s.WaitForExit());
}

TEST_F(Scale, At150PercentEverythingIsLaidOutAndDrawnAtThatScale) {
  InstallerSession s;
  LaunchAt(s, 144);
  ExpectWindowAtScale(s);
  PostMessageA(s.Window(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(s.WaitForExit());
}

TEST_F(Scale, At200PercentEverythingIsLaidOutAndDrawnAtThatScale) {
  // The host of the 100 % screenshot, for the one beside it in the README.
  const std::string folder = std::string(kTestRoot) + "Program Files\\Alpha\\Plug-ins";
  ASSERT_TRUE(MakeFolders(folder));
  RegisterMakerFolder("Host1", folder.c_str());
  InstallerSession s;
  LaunchAt(s, 192);
  ExpectWindowAtScale(s);
  EXPECT_TRUE(s.Capture().SaveBmp(ShotPath("choosing-200.bmp"))) << ShotPath("choosing-200.bmp");
  PostMessageA(s.Window(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(s.WaitForExit());
}

TEST_F(Scale, At200PercentAClickAndAKeyReachTheCheckBoxDrawnThere) {
  InstallerSession s;
  LaunchAt(s, 192);
  const Art check = Load("check128", 192);
  const int frame = check.shown.height;
  auto showsFrame = [&](const Picture& shot, int f) {
    Picture one;
    one.width = one.height = frame;
    for (int y = 0; y < frame; ++y)
      for (int x = 0; x < frame; ++x) one.pixels.push_back(check.shown.At(f * frame + x, y));
    return Draws(shot, one, At(290, 100));
  };
  // A click in the middle of the box as it is drawn at 200 %, well outside
  // where the 100 % box would be.
  s.Click(S(290) + frame / 2, S(100) + frame / 2);
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& shot) {
    auto r = showsFrame(shot, 0);
    if (r) r = !Draws(shot, install_at_.shown, At(475, 299)) ? ::testing::AssertionSuccess()
                                                                : ::testing::AssertionFailure() << "Install still shown";
    return r;
  })) << "the click unchecks the box and hides Install";

  // Tab from the drop-down to the check box, Space checks it again.
  PressKey(s.Window(), VK_TAB);
  PressKey(s.Window(), VK_TAB);
  PressKey(s.Window(), VK_SPACE);
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& shot) {
    auto r = showsFrame(shot, 2);
    if (r) r = Draws(shot, install_at_.shown, At(475, 299));
    return r;
  })) << "Space checks the box and shows Install again";

  PressKey(s.Window(), VK_ESCAPE);
  EXPECT_TRUE(s.WaitForExit());
}

// Moved to a monitor of 200 % (WM_DPICHANGED, handed to the window inside
// its process by a hook): the window takes the new scale's size at the
// suggested place and draws everything again at 200 %.
TEST_F(Scale, MovedFrom100To200PercentTheWindowDrawsItselfAgainAtTheNewScale) {
  InstallerSession s;
  LaunchAt(s, 96);
  HMODULE hookLibrary = LoadLibraryA(SCALE_CHANGE_HOOK);
  ASSERT_NE(nullptr, hookLibrary) << SCALE_CHANGE_HOOK;
  auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, "ScaleChangeHook")));
  ASSERT_NE(nullptr, hook);
  HHOOK placed = SetWindowsHookExA(WH_GETMESSAGE, hook, hookLibrary, GetWindowThreadProcessId(s.Window(), nullptr));
  ASSERT_NE(nullptr, placed) << "error " << GetLastError();

  dpi_ = 192;
  const Art install = Load("install219", 192);
  PostMessageA(s.Window(), RegisterWindowMessageA("iRelief test: change of scale"), 192, 0);
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& shot) {
    if (shot.width != S(600)) return ::testing::AssertionFailure() << "client width " << shot.width;
    return Draws(shot, install.shown, At(475, 299));
  })) << "the Install button at 200 %";
  RECT after;
  GetWindowRect(s.Window(), &after);
  EXPECT_EQ(20, after.left) << "at the suggested place";
  EXPECT_EQ(30, after.top);
  UnhookWindowsHookEx(placed);
  ExpectWindowAtScale(s);
  PostMessageA(s.Window(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(s.WaitForExit());
  FreeLibrary(hookLibrary);
}

}  // namespace
