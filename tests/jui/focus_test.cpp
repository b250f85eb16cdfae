// Keyboard focus as a toolkit capability, on a real window: the order Tab
// follows (skipping what cannot take the focus, and wrapping), a held key,
// and the focus cue, which only a keyboard user ever sees. The installer's
// own keys, names and states are tested end to end (app_e2e_keyboard).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "check_colour.h"
#include "common/SystemApi.h"
#include "jui/AccessibleWindow.h"
#include "test_art.h"
#include "test_window.h"

namespace {

using Ids = std::vector<int>;

class FocusTest : public testing::Test {
 protected:
  FocusTest() {
    exitButton = new JButton(w.context(), "", MakeRect(10, 150, 0, 0), art::kButtonId, art::kButtonId, 2);
    install = new JButton(w.context(), "", MakeRect(80, 150, 0, 0), art::kButtonId, art::kButtonId, 219);
    picture = new JButton(w.context(), "", MakeRect(200, 20, 0, 0), art::kButtonId, art::kButtonId, 0);
    picture->focusable = 0;
    link = new JAncor(w.context(), "Visit", MakeRect(20, 10, 0, 0), "www.mirefold.com", 1029);
    check = new JSelector(w.context(), "Select to install", MakeRect(100, 60, 190, 40), art::kCheckId, 0x80148000u,
                          "iRelief plug-in", 0, -3, 2000, 0, "iRelief");
    check->value = 2;
    const JTabStop order[] = {{check, nullptr}, {install, nullptr}, {exitButton, nullptr},
                              {link, nullptr},  {picture, nullptr}};
    w.panel()->focusOrder.Set(order, 5);
    w.Repaint();
    w.Notifications();
  }

  // Tab (or Shift+Tab) as the dialog manager passes it on: WM_NEXTDLGCTL.
  JElement* Tab(bool back = false) {
    INT_PTR result = FALSE;
    EXPECT_EQ(1, w.panel()->DispatchKeyboard(w.hwnd(), WM_NEXTDLGCTL, back ? 1 : 0, 0, &result));
    return w.context()->focus;
  }
  int Key(UINT key, LPARAM flags = 1) {
    INT_PTR result = FALSE;
    return w.panel()->DispatchKeyboard(w.hwnd(), WM_KEYDOWN, key, flags, &result);
  }

  TestWindow w;
  JButton* exitButton;
  JButton* install;
  JButton* picture;
  JAncor* link;
  JSelector* check;
};

TEST_F(FocusTest, TabFollowsTheOrderSkipsWhatCannotTakeTheFocusAndWraps) {
  EXPECT_EQ(nullptr, w.context()->focus) << "nothing has the focus before the first key";
  EXPECT_EQ(check, Tab());
  EXPECT_EQ(w.hwnd(), GetFocus()) << "a widget's focus is its window's";
  EXPECT_EQ(install, Tab());
  EXPECT_EQ(exitButton, Tab());
  EXPECT_EQ(link, Tab()) << "the picture, not focusable, is left out";
  EXPECT_EQ(check, Tab()) << "round again";
  EXPECT_EQ(link, Tab(true));
  EXPECT_EQ(exitButton, Tab(true));

  install->Show(0);
  EXPECT_EQ(check, Tab(true)) << "a hidden widget is skipped";
  EXPECT_EQ(exitButton, Tab());
  install->Show(1);
  exitButton->active = 0;
  EXPECT_EQ(link, Tab()) << "an inactive one too";
  EXPECT_EQ(check, Tab());
  EXPECT_EQ(install, Tab());
}

TEST_F(FocusTest, SpaceTogglesTheCheckBoxOncePerPressAndEnterIsLeftToTheDialog) {
  Tab();
  EXPECT_EQ(1, Key(VK_SPACE));
  EXPECT_EQ(0, check->value);
  EXPECT_EQ(Ids{2000}, w.Notifications());
  EXPECT_EQ(1, Key(VK_SPACE, 1 | 0x40000000)) << "taken, but a held key's repeat changes nothing";
  EXPECT_EQ(0, check->value);
  EXPECT_EQ(Ids{}, w.Notifications());
  EXPECT_EQ(1, Key(VK_SPACE));
  EXPECT_EQ(2, check->value);
  EXPECT_EQ(Ids{2000}, w.Notifications());
  EXPECT_EQ(0, Key(VK_RETURN)) << "Enter on the check box keeps the dialog's meaning";
  EXPECT_EQ(0, Key('A'));
  EXPECT_EQ(0, picture->HandlesKey(VK_RETURN)) << "a button that posts nothing takes no key";
}

TEST_F(FocusTest, TheCueIsDrawnOnlyOnceKeysAreInUseAndGoesWithTheFocus) {
  const RECT bounds = install->bounds;
  HDC dc = GetDC(w.hwnd());
  const std::vector<COLORREF> plain = Grab(dc, bounds);

  // The focus moved without keys in use (a mouse user): the same pixels.
  w.context()->focusCues = 0;
  w.panel()->focusOrder.Focus(1);
  EXPECT_EQ(install, w.context()->focus);
  EXPECT_TRUE(plain == Grab(dc, bounds)) << "no cue without the keyboard";
  EXPECT_EQ(0, install->cueDrawn);

  // The UI state says keys are in use: the cue appears, inside the button.
  SendMessageA(w.hwnd(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  INT_PTR result = FALSE;
  w.panel()->DispatchKeyboard(w.hwnd(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0, &result);
  EXPECT_EQ(1, w.context()->focusCues);
  const std::vector<COLORREF> cued = Grab(dc, bounds);
  EXPECT_FALSE(plain == cued) << "the cue is drawn";
  EXPECT_EQ(1, install->cueDrawn);
  RECT ring = bounds;
  InflateRect(&ring, -2, -2);
  ring.right -= 1;
  ring.bottom -= 1;
  const int width = bounds.right - bounds.left;
  for (int y = bounds.top; y < bounds.bottom; ++y)
    for (int x = bounds.left; x < bounds.right; ++x) {
      const bool onRing = (x >= ring.left && x < ring.right && y >= ring.top && y < ring.bottom) &&
                          (x == ring.left || x == ring.right - 1 || y == ring.top || y == ring.bottom - 1);
      const std::size_t i = static_cast<std::size_t>((y - bounds.top) * width + (x - bounds.left));
      if (!onRing) EXPECT_EQ(plain[i], cued[i]) << "only the ring changes: (" << x << ", " << y << ")";
      if (onRing && plain[i] != cued[i])
        EXPECT_TRUE(cued[i] == FocusCueLight || cued[i] == FocusCueDark) << "cue colours only";
    }

  // On to Exit: Install is exactly as before.
  Tab();
  EXPECT_EQ(exitButton, w.context()->focus);
  EXPECT_TRUE(plain == Grab(dc, bounds)) << "the cue leaves no trace";
  EXPECT_EQ(0, install->cueDrawn);
  ReleaseDC(w.hwnd(), dc);
}

TEST_F(FocusTest, AssistiveTechnologyHearsTheHoverTextTheStatusLineShows) {
  JAccessibleWindow bridge(&w.panel()->focusOrder, w.hwnd(), nullptr);
  auto help = [&](const std::string& text) {
    lstrcpynA(check->hoverText, text.c_str(), sizeof check->hoverText);
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = 1;  // the check box, first in the order
    BSTR said = nullptr;
    bridge.get_accHelp(child, &said);
    const std::wstring heard = said ? said : L"";
    if (said) AutomationFunctions()->SysFreeString(said);
    return heard;
  };
  EXPECT_EQ(std::wstring(200, L'x'), help(std::string(211, 'x'))) << "the status line shows 200 characters";
  EXPECT_EQ(L"Select", help("Select@to install"));
  EXPECT_EQ(L"", help("@hidden"));
}

}  // namespace
