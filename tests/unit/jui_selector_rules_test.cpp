// The selector's value rules and the picker's geometry.
#include <gtest/gtest.h>

#include <climits>

#include "jui/PickerGeometry.h"
#include "jui/SelectorRules.h"

namespace {

struct Machine {
  int value;
  int minimum;
  int maximum;
  bool toggle;
  bool grid;
  SelectorStep Do(SelectorEvent e, bool inside = true) {
    SelectorStep s = StepSelector(value, minimum, maximum, toggle, grid, inside, e);
    value = s.value;
    return s;
  }
};

TEST(SelectorRules, ToggleTableRowByRow) {
  const struct {
    int from;
    SelectorEvent event;
    int to;
    bool posted;
  } rows[] = {
      {0, kSelectorLeftDown, 1, false},  {1, kSelectorLeftUp, 2, true},   {2, kSelectorLeftDown, 3, false},
      {3, kSelectorLeftUp, 0, true},     {0, kSelectorRightDown, 3, false}, {3, kSelectorRightUp, 2, true},
      {2, kSelectorRightDown, 1, false}, {1, kSelectorRightUp, 0, true},
  };
  for (const auto& row : rows) {
    Machine m{row.from, 0, 3, true, false};
    const SelectorStep s = m.Do(row.event);
    EXPECT_EQ(row.to, s.value) << "from " << row.from << " event " << row.event;
    EXPECT_EQ(row.posted, s.post) << "from " << row.from << " event " << row.event;
    EXPECT_TRUE(s.draw);
    EXPECT_EQ(1, s.consumed);
  }
  for (int odd : {1, 3})
    for (SelectorEvent e : {kSelectorMove, kSelectorLeftUp, kSelectorRightDown, kSelectorOther}) {
      Machine m{odd, 0, 3, true, false};
      const SelectorStep s = m.Do(e, false);
      EXPECT_EQ(odd - 1, s.value) << "outside from " << odd;
      EXPECT_FALSE(s.post);
      EXPECT_TRUE(s.draw);
      EXPECT_EQ(0, s.consumed);
      EXPECT_EQ(e == kSelectorMove ? 0 : -1, s.hover);
    }
}

TEST(SelectorRules, ReleasesOnStableValuesAndOutsideDoNothing) {
  for (int stable : {0, 2})
    for (SelectorEvent e : {kSelectorLeftUp, kSelectorRightUp}) {
      Machine m{stable, 0, 3, true, false};
      const SelectorStep s = m.Do(e);
      EXPECT_EQ(stable, s.value);
      EXPECT_FALSE(s.draw);
      EXPECT_FALSE(s.post);
      EXPECT_EQ(0, s.consumed);
      const SelectorStep outside = m.Do(e, false);
      EXPECT_FALSE(outside.draw);
    }
  Machine m{2, 0, 3, true, false};
  const SelectorStep move = m.Do(kSelectorMove);
  EXPECT_EQ(1, move.hover);
  EXPECT_EQ(0, move.consumed);
  EXPECT_EQ(0, m.Do(kSelectorOther).consumed);
}

TEST(SelectorRules, StepModeWrapsAtTheTopToMinimumAndBelowZeroToMaximum) {
  Machine m{0, 0, 3, false, false};
  for (int expected : {1, 2, 3, 0}) {
    const SelectorStep s = m.Do(kSelectorLeftDown);
    EXPECT_EQ(expected, s.value);
    EXPECT_TRUE(s.post);
    EXPECT_EQ(1, s.consumed);
  }
  for (int expected : {3, 2, 1, 0}) EXPECT_EQ(expected, m.Do(kSelectorRightDown).value);

  Machine one{1, 1, 3, false, false};
  for (int expected : {2, 3, 1}) EXPECT_EQ(expected, one.Do(kSelectorLeftDown).value);
  for (int expected : {0, 3}) EXPECT_EQ(expected, one.Do(kSelectorRightDown).value);
  EXPECT_EQ(0, one.Do(kSelectorLeftUp).consumed) << "releases do nothing in step mode";

  // A value stored verbatim at either end of int steps like any other.
  Machine low{INT_MIN, 0, 3, false, false};
  EXPECT_EQ(3, low.Do(kSelectorRightDown).value);
  Machine high{INT_MAX, 1, INT_MAX, false, false};
  EXPECT_EQ(1, high.Do(kSelectorLeftDown).value);
}

TEST(SelectorRules, CountZeroIsToggleModeWithMaximumZero) {
  int toggle = -1;
  int maximum = -1;
  SelectorRange(0, &toggle, &maximum);
  EXPECT_EQ(1, toggle);
  EXPECT_EQ(0, maximum);
  SelectorRange(-3, &toggle, &maximum);
  EXPECT_EQ(1, toggle);
  EXPECT_EQ(3, maximum);
  SelectorRange(5, &toggle, &maximum);
  EXPECT_EQ(0, toggle);
  EXPECT_EQ(5, maximum);
  Machine m{0, 0, 0, true, false};
  const SelectorStep s = m.Do(kSelectorLeftDown);
  EXPECT_EQ(0, s.value);
  EXPECT_FALSE(s.post);
}

TEST(SelectorRules, GridPressesOpenThePickerOrPostTheNextCommand) {
  Machine m{2, 0, 5, false, true};
  SelectorStep s = m.Do(kSelectorLeftDown);
  EXPECT_TRUE(s.openPicker);
  EXPECT_EQ(2, s.value);
  s = m.Do(kSelectorRightDown);
  EXPECT_TRUE(s.postNext);
  EXPECT_FALSE(s.post);
  EXPECT_EQ(0, s.consumed);
  Machine t{1, 0, 3, true, true};
  s = t.Do(kSelectorLeftUp);
  EXPECT_FALSE(s.draw) << "grid toggles do not complete on release";
}

TEST(SelectorRules, FramesAndBoxes) {
  int start = 0;
  int end = 0;
  ASSERT_TRUE(StripFrameColumns(3, 13, 52, false, &start, &end));
  EXPECT_EQ(39, start);
  EXPECT_EQ(52, end);
  EXPECT_FALSE(StripFrameColumns(4, 13, 52, false, &start, &end));
  EXPECT_FALSE(StripFrameColumns(-1, 13, 52, false, &start, &end));
  ASSERT_TRUE(StripFrameColumns(1, 10, 40, true, &start, &end));
  EXPECT_EQ(20, start);
  EXPECT_EQ(40, end);
  EXPECT_FALSE(StripFrameColumns(2, 10, 40, true, &start, &end));

  int sx = 0;
  int sy = 0;
  ASSERT_TRUE(GridFrameOrigin(5, 104, 52, &sx, &sy));
  EXPECT_EQ(26, sx);
  EXPECT_EQ(26, sy);
  EXPECT_FALSE(GridFrameOrigin(8, 104, 52, &sx, &sy));
  EXPECT_FALSE(GridFrameOrigin(3, 100, 52, &sx, &sy));

  PlainRect box = SelectorBox(290, 100, 13, false, false);
  EXPECT_EQ(303, box.right);
  EXPECT_EQ(113, box.bottom);
  box = SelectorBox(290, 100, 13, true, false);
  EXPECT_EQ(316, box.right);
  EXPECT_EQ(126, box.bottom);
  box = SelectorBox(290, 100, 10, false, true);
  EXPECT_EQ(310, box.right);
  EXPECT_EQ(110, box.bottom);

  int dx = 0;
  int dy = 0;
  SelectorLabelOffsets(0x80148000u, &dx, &dy);
  EXPECT_EQ(20, dx);
  EXPECT_EQ(0, dy);
  SelectorLabelOffsets(0x7FFF8003u, &dx, &dy);
  EXPECT_EQ(-1, dx);
  EXPECT_EQ(3, dy);
}

TEST(PickerGeometry, CellsNumbersAndPicks) {
  EXPECT_EQ(86, PickerHeightFor(5));
  EXPECT_EQ(50, PickerHeightFor(3));
  PlainRect cell = PickerCellRect(5);
  EXPECT_EQ(62, cell.left);
  EXPECT_EQ(46, cell.top);
  EXPECT_EQ(88, cell.right);
  EXPECT_EQ(72, cell.bottom);
  int x = 0;
  int y = 0;
  PickerNumberOrigin(5, &x, &y);
  EXPECT_EQ(48, x);
  EXPECT_EQ(48, y);
  EXPECT_EQ(5, PickedValue(60, 50, 5));
  EXPECT_EQ(4, PickedValue(190, 20, 5));
  EXPECT_EQ(0, PickedValue(0, 0, 5));
  EXPECT_EQ(5, PickedValue(190, 80, 5)) << "lowered to maximum";

  // Cell i is numbered i + 1 with two digits; three-digit numbers show their first two.
  const struct {
    int cell;
    const char* shown;
  } numbers[] = {{0, "01"}, {8, "09"}, {9, "10"}, {98, "99"}, {99, "10"}, {122, "12"}};
  for (const auto& n : numbers) {
    char number[3] = {'#', '#', '#'};
    PickerCellNumber(n.cell, number);
    EXPECT_STREQ(n.shown, number) << "cell " << n.cell;
  }
}

TEST(PickerGeometry, AnchorAndPlacement) {
  int ax = 0;
  int ay = 0;
  PickerAnchor(PlainRect{150, 120, 176, 146}, 1000, 500, 86, &ax, &ay);
  EXPECT_EQ(1149, ax);
  EXPECT_EQ(619, ay);
  PickerAnchor(PlainRect{150, 40, 176, 66}, 1000, 500, 86, &ax, &ay);
  EXPECT_EQ(1149, ax);
  EXPECT_EQ(500 + 66 + 86, ay) << "near the top: the popup opens below the box";

  const PlainRect primary{0, 0, 1280, 1024};
  PlainRect r = PlacePicker(1149, 619, 198, 86, primary);
  EXPECT_EQ(951, r.left);
  EXPECT_EQ(533, r.top);
  EXPECT_EQ(1149, r.right);
  EXPECT_EQ(619, r.bottom);
  r = PlacePicker(40, 30, 198, 86, primary);
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(0, r.top);
  // A monitor left of and above the primary one: coordinates beyond 16 bits stay whole.
  const PlainRect leftAbove{-1920, -1080, 0, 0};
  r = PlacePicker(-1500, -700, 198, 86, leftAbove);
  EXPECT_EQ(-1698, r.left);
  EXPECT_EQ(-786, r.top);
  r = PlacePicker(-1800, -1000, 198, 86, leftAbove);
  EXPECT_EQ(-1920, r.left);
  EXPECT_EQ(-1080, r.top);
  r = PlacePicker(200, 1100, 198, 86, primary);
  EXPECT_EQ(1024 - 86, r.top) << "kept above the monitor's bottom";
}

}  // namespace
