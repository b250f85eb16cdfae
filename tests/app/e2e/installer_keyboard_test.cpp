// The installer without a mouse and with a screen reader: real key events
// (SendInput) move the focus and act on the widgets, a screen reader's view
// from this process (AccessibleObjectFromWindow) reports names, roles and
// states, and the focus cue appears only once a key has been pressed.
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "AccessibleView.h"
#include "EndToEnd.h"
#include "KeyboardUser.h"

namespace {

const std::string kRoot = kTestRoot;
constexpr char kDropDown[] = "<drop-down>";
constexpr char kCheckBox[] = "iRelief plug-in";
constexpr char kLink[] = "www.mirefold.com";

// A 24-bit bottom-up BMP file, as png_to_bmp.py writes them.
Picture LoadBmpFile(const std::string& path) {
  Picture picture;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return picture;
  std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  if (!ok || read < 54 || bytes[0] != 'B' || bytes[1] != 'M') return picture;
  BITMAPINFOHEADER info;
  std::memcpy(&info, &bytes[14], sizeof info);
  if (info.biBitCount != 24 || info.biHeight <= 0) return picture;
  const int width = info.biWidth, height = info.biHeight;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  std::uint32_t offset = 0;
  std::memcpy(&offset, &bytes[10], sizeof offset);
  if (offset + stride * height > bytes.size()) return picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = &bytes[offset + stride * (height - 1 - y)];
    for (int x = 0; x < width; ++x)
      picture.pixels[static_cast<std::size_t>(y) * width + x] =
          (static_cast<std::uint32_t>(row[x * 3 + 2]) << 16) | (row[x * 3 + 1] << 8) | row[x * 3];
  }
  return picture;
}

// WinEvents of one process, as a screen reader hooks them (out of context:
// delivered to this thread while it pumps its messages).
struct Announcement {
  DWORD event;
  LONG object;
  LONG child;
};
std::vector<Announcement> Heard;

void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
  Heard.push_back({event, object, child});
}

bool HeardEvent(DWORD event, LONG child) {
  for (const Announcement& a : Heard)
    if (a.event == event && a.object == OBJID_CLIENT && a.child == child) return true;
  return false;
}

// Pumps this thread's messages, so the hook is called, until the event is heard.
bool WaitToHear(DWORD event, LONG child) {
  return WaitUntil([&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    return HeardEvent(event, child);
  });
}

class Keyboard : public EndToEnd {
 protected:
  std::string AddHost(const std::string& folder) {
    EXPECT_TRUE(MakeFolders(kRoot + folder)) << folder;
    RegisterMakerFolder("Host1", (kRoot + folder).c_str());
    return kRoot + folder;
  }

  // Where the focus is, as a screen reader hears it.
  static std::string FocusName(const InstallerSession& s) { return AccessibleView(s.Window()).Focus(); }

  // Presses Tab (Shift+Tab when back) and checks where the focus lands.
  void ExpectTabTo(const InstallerSession& s, const std::string& expected, bool back = false) {
    PressKey(s.Window(), VK_TAB, back);
    std::string seen;
    EXPECT_TRUE(WaitUntil([&] { return (seen = FocusName(s)) == expected; }, 3000))
        << (back ? "Shift+Tab" : "Tab") << ": expected the focus on " << expected << ", seen " << seen;
    if (expected == kDropDown)
      EXPECT_EQ(s.DropDown(), FocusOf(s.Window())) << "the drop-down itself has the system's focus";
    else
      EXPECT_EQ(s.Window(), FocusOf(s.Window())) << "a widget's focus is the window's";
  }

  // From the start, where no place of the order has the focus yet.
  void TabToCheckBox(const InstallerSession& s) {
    ExpectTabTo(s, kDropDown);
    ExpectTabTo(s, kCheckBox);
  }

  void ExpectEndsWithExitCode0(InstallerSession& s) {
    ASSERT_TRUE(s.WaitForExit()) << "the installer did not end";
    EXPECT_EQ(0u, s.ExitCode());
  }

  // Pixels of a and b that differ, and the box around them.
  static int Differences(const Picture& a, const Picture& b, RECT* box = nullptr) {
    int count = 0;
    RECT around = {a.width, a.height, -1, -1};
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x)
        if (a.At(x, y) != b.At(x, y)) {
          ++count;
          around.left = std::min<LONG>(around.left, x);
          around.top = std::min<LONG>(around.top, y);
          around.right = std::max<LONG>(around.right, x + 1);
          around.bottom = std::max<LONG>(around.bottom, y + 1);
        }
    if (box) *box = around;
    return count;
  }

  // The label's own pixels: drawn again over themselves, as every redraw of
  // the check box has always done, they are not compared.
  static RECT LabelText() {
    return {layout_.selector.left + 20, layout_.selector.top, layout_.selector.left + 120, layout_.selector.top + 14};
  }

  static Picture Region(const Picture& p, const RECT& r) {
    Picture part;
    part.width = r.right - r.left;
    part.height = r.bottom - r.top;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) part.pixels.push_back(p.At(x, y));
    return part;
  }

  static void Blank(Picture* p, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (x >= 0 && y >= 0 && x < p->width && y < p->height) p->pixels[y * p->width + x] = kSentinel;
  }

  static ::testing::AssertionResult SamePixels(const Picture& want, const Picture& seen) {
    if (want.width != seen.width || want.height != seen.height)
      return ::testing::AssertionFailure() << "size " << seen.width << "x" << seen.height;
    RECT box{};
    const int n = Differences(want, seen, &box);
    if (n == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << n << " pixels differ, within (" << box.left << ", " << box.top << ") to ("
                                         << box.right << ", " << box.bottom << ")";
  }

  void ExpectIndicators(const InstallerSession& s) {
    EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) {
      auto r = Shows(p, ind32_, layout_.indicator32);
      if (r) r = Shows(p, ind64_, layout_.indicator64);
      return r;
    })) << "both indicators";
  }

  static bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
  }
};

TEST_F(Keyboard, TabAndShiftTabVisitEveryWidgetInVisualOrderAndWrapAround) {
  AddHost("Alpha\\Plug-ins");
  InstallerSession s;
  Launch(s);
  // At start the focus is where the dialog always left it, on no place of
  // the order (the drop-down would draw itself highlighted for a mouse user).
  EXPECT_EQ("", FocusName(s)) << "focus at start";

  const char* forward[] = {kDropDown, kCheckBox, "Install", "Exit", kLink, kDropDown, kCheckBox};
  for (const char* name : forward) ExpectTabTo(s, name);
  const char* backward[] = {kDropDown, kLink, "Exit", "Install", kCheckBox, kDropDown, kLink};
  for (const char* name : backward) ExpectTabTo(s, name, true);

  PressKey(s.Window(), VK_ESCAPE);
  ExpectEndsWithExitCode0(s);
}

TEST_F(Keyboard, SpaceOnTheCheckBoxHidesInstallWhichTabThenSkipsAndShowsItAgain) {
  const std::string host = AddHost("Alpha\\Plug-ins");
  InstallerSession s;
  Launch(s);
  TabToCheckBox(s);
  EXPECT_TRUE(AccessibleView(s.Window()).Child(kCheckBox).state & STATE_SYSTEM_CHECKED) << "checked at start";

  PressKey(s.Window(), VK_SPACE);
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) {
    auto r = CheckBoxShows(p, 0);
    if (r) r = ShowsBackgroundUnder(p, install_, layout_.installButton);
    return r;
  })) << "Space unchecks: empty box, no Install button";
  {
    AccessibleView view(s.Window());
    EXPECT_FALSE(view.Child(kCheckBox).state & STATE_SYSTEM_CHECKED) << StateText(view.Child(kCheckBox).state);
    EXPECT_TRUE(view.Child("Install").state & STATE_SYSTEM_INVISIBLE) << StateText(view.Child("Install").state);
  }
  ExpectTabTo(s, "Exit");  // the hidden Install is skipped
  ExpectTabTo(s, kCheckBox, true);

  // Enter on the check box keeps its meaning: install, which nothing checked
  // refuses. The keys are handled in order, so once Space has checked the box
  // again Enter has had its turn.
  PressKey(s.Window(), VK_RETURN);
  PressKey(s.Window(), VK_SPACE);
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) {
    auto r = CheckBoxShows(p, 2);
    if (r) r = Shows(p, install_, layout_.installButton);
    return r;
  })) << "Space checks again: ticked box, Install button back";
  EXPECT_FALSE(Exists(host + "\\Mirefold")) << "nothing is installed while nothing is checked";
  EXPECT_TRUE(s.Running());
  EXPECT_TRUE(AccessibleView(s.Window()).Child(kCheckBox).state & STATE_SYSTEM_CHECKED);
  ExpectTabTo(s, "Install");

  PressKey(s.Window(), VK_ESCAPE);
  ExpectEndsWithExitCode0(s);
  EXPECT_FALSE(Exists(host + "\\Mirefold")) << "Escape installs nothing";
}

TEST_F(Keyboard, EnterOnExitEndsTheProgramWithoutInstalling) {
  const std::string host = AddHost("Alpha\\Plug-ins");
  InstallerSession s;
  Launch(s);
  ExpectTabTo(s, kLink, true);
  ExpectTabTo(s, "Exit", true);
  PressKey(s.Window(), VK_RETURN);
  ExpectEndsWithExitCode0(s);
  EXPECT_FALSE(Exists(host + "\\Mirefold")) << "Enter on Exit installs nothing";
}

TEST_F(Keyboard, EnterOnInstallInstallsThenTheFocusIsOnFinish) {
  const std::string host = AddHost("Alpha\\Plug-ins");
  InstallerSession s;
  Launch(s);
  TabToCheckBox(s);
  ExpectTabTo(s, "Install");
  PressKey(s.Window(), VK_RETURN);
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) {
    auto r = Shows(p, done_, layout_.completionPicture);
    if (r) r = ShowsBackgroundUnder(p, install_, layout_.installButton);
    return r;
  })) << "completion screen";
  EXPECT_TRUE(Exists(host + "\\Mirefold\\iRelief.8bf")) << "Enter on Install installs";

  EXPECT_EQ("Finish", FocusName(s)) << "the focus goes on at Finish";
  ExpectTabTo(s, kLink);
  ExpectTabTo(s, "Finish");
  ExpectTabTo(s, kLink, true);
  ExpectTabTo(s, "Finish", true);
  PressKey(s.Window(), VK_SPACE);  // Space presses a button too
  ExpectEndsWithExitCode0(s);
}

TEST_F(Keyboard, AMouseOnlyRunDrawsTodaysPictures) {
  AddHost("Program Files\\Alpha\\Plug-ins");  // the folder docs/choosing.png shows
  const Picture choosing = LoadBmpFile(std::string(REFERENCE_DIR) + "\\choosing.bmp");
  const Picture completed = LoadBmpFile(std::string(REFERENCE_DIR) + "\\completed.bmp");
  ASSERT_EQ(600, choosing.width) << REFERENCE_DIR;
  ASSERT_EQ(600, completed.width) << REFERENCE_DIR;

  InstallerSession s;
  Launch(s);
  ExpectIndicators(s);
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& p) { return SamePixels(choosing, p); }))
      << "the choosing screen as docs/choosing.png shows it";

  s.Click(layout_.selector.left + 6, layout_.selector.top + 6);
  s.Click(layout_.selector.left + 6, layout_.selector.top + 6);
  const POINT exitCentre = Centre(layout_.exitButton, exit_);
  PostMessageA(s.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(exitCentre.x, exitCentre.y));
  PostMessageA(s.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
  ASSERT_TRUE(s.Settle());
  ClickButton(s, layout_.installButton, install_);
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& p) { return SamePixels(completed, p); }))
      << "the completion screen as docs/completed.png shows it";
  EXPECT_EQ("Finish", AccessibleView(s.Window()).Child("Finish").name) << "the accessible object is there all the same";
  ClickButton(s, layout_.finishButton, finish_);
  ExpectEndsWithExitCode0(s);
}

TEST_F(Keyboard, TheFocusCueAppearsOnlyAfterAKeyAndLeavesNoTrace) {
  AddHost("Program Files\\Alpha\\Plug-ins");
  InstallerSession s;
  Launch(s);
  ExpectIndicators(s);
  ASSERT_TRUE(s.Settle());
  const Picture before = s.Capture();

  // Keys: the cue appears around the check box's label, and only there (the
  // drop-down, passed on the way, is drawn as before once it has let go).
  PressKey(s.Window(), VK_TAB);
  PressKey(s.Window(), VK_TAB);
  Picture cued;
  RECT box{};
  const RECT labelArea = {layout_.selector.left + 16, layout_.selector.top - 2,
                          layout_.selector.left + layout_.selector.right, layout_.selector.top + 20};
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& p) {
    const int n = Differences(before, p, &box);
    if (n == 0) return ::testing::AssertionFailure() << "no cue drawn";
    if (!Inside(box, labelArea))
      return ::testing::AssertionFailure() << "changed (" << box.left << ", " << box.top << ") to (" << box.right
                                           << ", " << box.bottom << ")";
    return ::testing::AssertionSuccess();
  }, &cued)) << "Tab onto the check box shows a cue around its label";
  EXPECT_TRUE(cued.SaveBmp(ShotPath("focus-check-box.bmp")));

  // On to Install: the cue is inside the button; around the label nothing is left.
  PressKey(s.Window(), VK_TAB);
  Picture onInstall;
  const RECT installArea = {layout_.installButton.x, layout_.installButton.y, layout_.installButton.x + install_.width,
                            layout_.installButton.y + install_.height};
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& p) {
    RECT inInstall{};
    const int n = Differences(Region(before, installArea), Region(p, installArea), &inInstall);
    if (n == 0) return ::testing::AssertionFailure() << "no cue in the Install button";
    RECT outside{};
    Picture rest = p;
    Picture restBefore = before;
    Blank(&rest, installArea);
    Blank(&restBefore, installArea);
    Blank(&rest, LabelText());
    Blank(&restBefore, LabelText());
    const int left = Differences(restBefore, rest, &outside);
    if (left != 0)
      return ::testing::AssertionFailure() << left << " pixels changed outside the button, (" << outside.left << ", "
                                           << outside.top << ") to (" << outside.right << ", " << outside.bottom << ")";
    return ::testing::AssertionSuccess();
  }, &onInstall)) << "the cue moves into the Install button and leaves nothing behind";
  EXPECT_TRUE(onInstall.SaveBmp(ShotPath("focus-install.bmp")));

  // Installed: the focus, and its cue, go on at Finish.
  PressKey(s.Window(), VK_RETURN);
  Picture finished;
  EXPECT_TRUE(WaitForScreen(s, [&](const Picture& p) {
    auto r = Shows(p, done_, layout_.completionPicture);
    if (!r) return r;
    int changed = 0;
    for (int y = 0; y < finish_.height; ++y)
      for (int x = 0; x < finish_.width; ++x) {
        const std::uint32_t want = finish_.At(x, y);
        if (want != 0xFFFFFF && p.At(layout_.finishButton.x + x, layout_.finishButton.y + y) != want) ++changed;
      }
    return changed > 0 ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "Finish shows no cue";
  }, &finished)) << "completion screen with the cue on Finish";
  EXPECT_TRUE(finished.SaveBmp(ShotPath("focus-finish.bmp")));
  PressKey(s.Window(), VK_ESCAPE);
  ExpectEndsWithExitCode0(s);
}

TEST_F(Keyboard, FocusAndStateChangesAreAnnounced) {
  AddHost("Alpha\\Plug-ins");
  InstallerSession s;
  Launch(s);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_STATECHANGE, nullptr, Listen, s.ProcessId(), 0,
                                       WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(nullptr, hook);
  Heard.clear();
  TabToCheckBox(s);
  EXPECT_TRUE(WaitToHear(EVENT_OBJECT_FOCUS, 2)) << "the check box (child 2) taking the focus";
  Heard.clear();
  PressKey(s.Window(), VK_SPACE);
  EXPECT_TRUE(WaitToHear(EVENT_OBJECT_STATECHANGE, 2)) << "the check box's state";
  EXPECT_TRUE(WaitToHear(EVENT_OBJECT_HIDE, 3)) << "Install (child 3) going";
  UnhookWinEvent(hook);
  PressKey(s.Window(), VK_ESCAPE);
  ExpectEndsWithExitCode0(s);
}

TEST_F(Keyboard, AScreenReaderInAnotherProcessFindsNamesRolesAndStates) {
  AddHost("Program Files (x86)\\Beta\\Plug-ins");  // the 32-bit build only
  InstallerSession s;
  Launch(s);
  char title[64] = "";
  GetWindowTextA(s.Window(), title, sizeof title);
  EXPECT_STREQ("iRelief Setup", title) << "the window's text";
  EXPECT_EQ(0, GetWindowLongA(s.Window(), GWL_STYLE) & WS_CAPTION) << "and still no caption";

  AccessibleView view(s.Window());
  ASSERT_TRUE(view.Ok()) << "AccessibleObjectFromWindow failed: 0x" << std::hex << view.Status();
  EXPECT_EQ("iRelief Setup", view.Name());

  struct Expected {
    const char* name;
    long role;
    long stateSet;
    long stateClear;
  };
  const Expected expected[] = {
      {"", ROLE_SYSTEM_COMBOBOX, STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_INVISIBLE},
      {kCheckBox, ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_INVISIBLE},
      {"Install", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_INVISIBLE},
      {"Exit", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_INVISIBLE},
      {"Finish", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_FOCUSABLE},
      {kLink, ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_INVISIBLE},
      {"32-bit build will be installed", ROLE_SYSTEM_GRAPHIC, 0, STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_FOCUSABLE},
      {"64-bit build will not be installed", ROLE_SYSTEM_GRAPHIC, STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_FOCUSABLE},
      {"iRelief has been installed", ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_FOCUSABLE},
  };
  const std::vector<AccessibleChild> children = view.Children();
  ASSERT_EQ(sizeof expected / sizeof expected[0], children.size()) << "children of the client area";
  for (std::size_t i = 0; i < children.size(); ++i) {
    const AccessibleChild& c = children[i];
    const Expected& e = expected[i];
    if (i == 0) {
      EXPECT_TRUE(c.isWindow) << "the drop-down is a control with its own object";
    } else {
      EXPECT_EQ(e.name, c.name) << "child " << i + 1;
    }
    if (i == 0 && c.role == ROLE_SYSTEM_CLIENT)
      std::printf("Wine's standard object for the drop-down reports the role \"client\", not \"combo box\"\n");
    else
      EXPECT_EQ(e.role, c.role) << "role of child " << i + 1 << " (" << c.name << ")";
    EXPECT_EQ(e.stateSet, c.state & e.stateSet) << c.name << ": " << StateText(c.state);
    EXPECT_EQ(0, c.state & e.stateClear) << c.name << ": " << StateText(c.state);
  }

  // Space on the check box: the state changes, Install goes.
  TabToCheckBox(s);
  EXPECT_TRUE(AccessibleView(s.Window()).Child(kCheckBox).state & STATE_SYSTEM_FOCUSED);
  PressKey(s.Window(), VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return !(AccessibleView(s.Window()).Child(kCheckBox).state & STATE_SYSTEM_CHECKED); }))
      << "unchecked after Space";
  EXPECT_TRUE(AccessibleView(s.Window()).Child("Install").state & STATE_SYSTEM_INVISIBLE);
  PressKey(s.Window(), VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return (AccessibleView(s.Window()).Child(kCheckBox).state & STATE_SYSTEM_CHECKED) != 0; }))
      << "checked again after a second Space";

  // Installed: Finish and the completion message are there, the rest is gone.
  ExpectTabTo(s, "Install");
  PressKey(s.Window(), VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] {
    return !(AccessibleView(s.Window()).Child("iRelief has been installed").state & STATE_SYSTEM_INVISIBLE) &&
           AccessibleView(s.Window()).Child("iRelief has been installed").role == ROLE_SYSTEM_STATICTEXT;
  }, 10000)) << "the completion message is shown as static text";
  AccessibleView after(s.Window());
  EXPECT_FALSE(after.Child("Finish").state & STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(after.Child("Finish").state & STATE_SYSTEM_FOCUSED) << StateText(after.Child("Finish").state);
  EXPECT_TRUE(after.Child("Install").state & STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(after.Child(kCheckBox).state & STATE_SYSTEM_INVISIBLE);
  PressKey(s.Window(), VK_RETURN);
  ExpectEndsWithExitCode0(s);
}

}  // namespace
