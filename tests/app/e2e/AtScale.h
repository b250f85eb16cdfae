#pragma once
// The fixture of the tests at the display's scale: the display set as a
// user sets it (LogPixels of the current user, which a program started
// afterwards reads), the installer started at that scale, and the pictures
// the art check decoded and drew at each scale (SHOWN_DIR, DRAWN_DIR).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EndToEnd.h"
#include "jui/ScaleRules.h"

constexpr std::uint32_t kScaleWhite = 0xFFFFFF;

inline void SetLogPixels(DWORD dpi) {
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
        if (want == kScaleWhite) continue;
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
        if (want == kScaleWhite) continue;
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

