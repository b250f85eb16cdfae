// The installer at the display's scale: the display set to 100 %, 150 % and
// 200 % as a user sets it (LogPixels of the current user, which a program
// started afterwards reads), the real installer started, and its window
// judged by where things are, what the screen shows against the pictures the
// art script drew at that scale, what a click and a key reach and where a
// screen reader finds the widgets.
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "AccessibleView.h"
#include "EndToEnd.h"
#include "KeyboardUser.h"
#include "jui/PackedPicture.h"
#include "jui/ScaleRules.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr char kCheckBox[] = "iRelief plug-in";

void SetLogPixels(DWORD dpi) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, &key, nullptr));
  const LONG set = RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, set);
}

// One picture of the window at a scale: as the program should show it (the
// packed picture decoded, or at 100 % the bitmap itself) and as the art
// script drew it before packing.
struct Art {
  Picture shown;
  Picture drawn;
};

class Scale : public EndToEnd {
 protected:
  void TearDown() override { SetLogPixels(96); }

  // Starts the installer with the display at dpi; waits for its first paint.
  void LaunchAt(InstallerSession& s, int dpi) {
    dpi_ = dpi;
    SetLogPixels(dpi);
    install_at_ = Load("install219", dpi);
    ASSERT_GT(install_at_.shown.width, 0) << "no pictures at " << dpi << " (the art check writes them)";
    ASSERT_TRUE(s.Start()) << "cannot start " << INSTALLER_EXE;
    ASSERT_TRUE(s.WaitForWindow()) << "no window at " << dpi;
    ASSERT_TRUE(WaitForScreen(s, [&](const Picture& shot) { return Draws(shot, install_at_.shown, At(475, 299)); }))
        << "the first paint at " << dpi << " did not complete";
  }

  int S(int designLength) const { return ScaledLength(designLength, dpi_); }
  LayoutPoint At(int x, int y) const { return {S(x), S(y)}; }

  // The picture stem+id at dpi: the exe's bitmap at 96, else the art check's.
  Art Load(const char* stem, int dpi) const {
    Art art;
    const int id = std::atoi(stem + std::strcspn(stem, "0123456789"));
    if (dpi == 96) {
      art.shown = art.drawn = LoadBitmapResource(installer_, id);
      return art;
    }
    char name[64];
    std::snprintf(name, sizeof name, "\\%s-%d.bmp", stem, dpi);
    art.shown = ReadBmpFile(std::string(SHOWN_DIR) + name);
    art.drawn = ReadBmpFile(std::string(DRAWN_DIR) + name);
    return art;
  }

  // Whether the screen shows every opaque pixel of picture at origin, exactly.
  static ::testing::AssertionResult Draws(const Picture& shot, const Picture& picture, LayoutPoint origin) {
    int compared = 0;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const std::uint32_t want = picture.At(x, y);
        if (want == kWhite) continue;
        ++compared;
        const std::uint32_t seen = shot.At(origin.x + x, origin.y + y);
        if (seen != want)
          return ::testing::AssertionFailure() << "pixel (" << origin.x + x << ", " << origin.y + y << "): expected "
                                               << Hex(want) << ", seen " << Hex(seen);
      }
    }
    if (compared == 0) return ::testing::AssertionFailure() << "an empty picture";
    return ::testing::AssertionSuccess();
  }

  // The screen against what the art script drew, over a rectangle of the
  // design: every channel within the packing's tolerance, the mean within 1.
  static void ExpectCloseToDrawn(const Picture& shot, const Picture& drawn, LayoutPoint shotOrigin, RECT area,
                                 const char* what) {
    long long total = 0, count = 0;
    int largest = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) {
        const std::uint32_t want = drawn.At(x, y), seen = shot.At(shotOrigin.x + x, shotOrigin.y + y);
        if (want == kWhite) continue;
        for (int shift = 0; shift < 24; shift += 8) {
          const int d = std::abs(static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((seen >> shift) & 0xFF));
          total += d;
          ++count;
          if (d > largest) largest = d;
        }
      }
    ASSERT_GT(count, 0) << what;
    EXPECT_LE(largest, 8) << what << ": the largest channel difference from the drawn art";
    EXPECT_LE(static_cast<double>(total) / count, 1.0) << what << ": the mean channel difference from the drawn art";
  }

  // Everything the first screen lays out and draws, at the launched scale.
  void ExpectWindowAtScale(const InstallerSession& s) {
    RECT client;
    GetClientRect(s.Window(), &client);
    EXPECT_EQ(S(600), client.right) << "client width at " << dpi_;
    EXPECT_EQ(S(320), client.bottom) << "client height at " << dpi_;

    RECT box;
    GetWindowRect(s.DropDown(), &box);
    POINT corner = {box.left, box.top};
    ScreenToClient(s.Window(), &corner);
    EXPECT_EQ(S(16), corner.x) << "drop-down left";
    EXPECT_EQ(S(260), corner.y) << "drop-down top";
    EXPECT_EQ(S(581) - S(16), box.right - box.left) << "drop-down width";
    EXPECT_LE(corner.y + (box.bottom - box.top), S(292)) << "the drop-down stays above the bottom band";

    const Picture shot = s.Capture();
    ASSERT_EQ(S(600), shot.width);
    const struct {
      const char* stem;
      int x, y;
    } widgets[] = {{"exit203", 537, 299}, {"install219", 475, 299}, {"ind224", 480, 236}};
    for (const auto& w : widgets) {
      const Art art = Load(w.stem, dpi_);
      EXPECT_TRUE(Draws(shot, art.shown, At(w.x, w.y))) << w.stem << " at " << dpi_;
      ExpectCloseToDrawn(shot, art.drawn, At(w.x, w.y), {0, 0, art.drawn.width, art.drawn.height}, w.stem);
    }
    // The ticked frame of the check box strip.
    const Art check = Load("check128", dpi_);
    const int frame = check.shown.height;
    Picture ticked;
    ticked.width = ticked.height = frame;
    for (int y = 0; y < frame; ++y)
      for (int x = 0; x < frame; ++x) ticked.pixels.push_back(check.shown.At(2 * frame + x, y));
    EXPECT_TRUE(Draws(shot, ticked, At(290, 100))) << "ticked check box at " << dpi_;

    // The background where nothing is drawn over it: the title and the relief
    // below the check box row.
    const Art background = Load("bg222", dpi_);
    const RECT areas[] = {{0, 0, S(440), S(92)}, {0, S(125), S(600), S(228)}};
    for (const RECT& area : areas) {
      Picture part;
      part.width = area.right - area.left;
      part.height = area.bottom - area.top;
      for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) part.pixels.push_back(background.shown.At(x, y));
      EXPECT_TRUE(Draws(shot, part, {area.left, area.top})) << "background at " << dpi_;
      ExpectCloseToDrawn(shot, background.drawn, {0, 0}, area, "background");
    }
  }

  Art install_at_;
  int dpi_ = 96;
};

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
  EXPECT_TRUE(WaitUntil([&] { return AccessibleView(s.Window()).Focus() == kCheckBox; })) << "focus on the check box";
  PressKey(s.Window(), VK_SPACE);
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& shot) {
    auto r = showsFrame(shot, 2);
    if (r) r = Draws(shot, install_at_.shown, At(475, 299));
    return r;
  })) << "Space checks the box and shows Install again";

  PressKey(s.Window(), VK_ESCAPE);
  EXPECT_TRUE(s.WaitForExit());
}

TEST_F(Scale, At200PercentTheAccessibleChildrenAreWhereTheyAreDrawn) {
  InstallerSession s;
  LaunchAt(s, 192);
  POINT origin = {0, 0};
  ClientToScreen(s.Window(), &origin);
  const Art exit = Load("exit203", 192);
  const Art install = Load("install219", 192);
  const Art check = Load("check128", 192);
  const struct {
    const char* name;
    int x, y, width, height;
  } expected[] = {
      {"Exit", S(537), S(299), exit.shown.width, exit.shown.height},
      {"Install", S(475), S(299), install.shown.width, install.shown.height},
  };
  AccessibleView view(s.Window());
  ASSERT_TRUE(view.Ok());
  for (const auto& e : expected) {
    const RECT at = view.Child(e.name).location;
    EXPECT_EQ(origin.x + e.x, at.left) << e.name;
    EXPECT_EQ(origin.y + e.y, at.top) << e.name;
    EXPECT_EQ(e.width, at.right - at.left) << e.name;
    EXPECT_EQ(e.height, at.bottom - at.top) << e.name;
  }
  // The check box and its label: from the box's corner, at least as high as the box.
  const RECT box = view.Child(kCheckBox).location;
  EXPECT_EQ(origin.x + S(290), box.left);
  EXPECT_EQ(origin.y + S(100), box.top);
  EXPECT_GE(box.bottom - box.top, check.shown.height);
  EXPECT_GT(box.right - box.left, S(20) + S(40)) << "the label, 20 pixels of the design right of the box, is inside";
  PostMessageA(s.Window(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(s.WaitForExit());
}

}  // namespace
