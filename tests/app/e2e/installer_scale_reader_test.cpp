// The installer at 200 % as a screen reader finds it from another process:
// the accessible children's locations are where the widgets are drawn at
// that scale.
#include <oleacc.h>

#include "AccessibleView.h"
#include "AtScale.h"

namespace {

constexpr char kCheckBox[] = "iRelief plug-in";

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
