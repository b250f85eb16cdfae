// The bitmap cache: sharing by reference count, blank bitmaps from
// size-encoding ids, and a full table.
#include <gtest/gtest.h>
#include <windows.h>

#include "jui/BitmapCache.h"
#include "test_art.h"

namespace {

class BitmapCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    screen_ = GetDC(nullptr);
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
      ASSERT_EQ(0, BitmapCache.references[slot]) << "slot " << slot << " still held by an earlier test";
  }
  void TearDown() override { ReleaseDC(nullptr, screen_); }
  int Load(unsigned id, JBitmap* record) {
    record->fresh = LoadCachedBitmap(id, record, GetModuleHandleA(nullptr), screen_);
    return record->fresh;
  }
  static int SlotOf(unsigned id) {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
      if (BitmapCache.references[slot] != 0 && BitmapCache.id[slot] == id) return slot;
    return -1;
  }
  HDC screen_ = nullptr;
};

TEST_F(BitmapCacheTest, SharedUntilTheLastReleaseThenLoadedAgain) {
  JBitmap first = {};
  JBitmap second = {};
  SetRect(&second.extent, 7, 7, 7, 7);
  EXPECT_EQ(1, Load(art::kButtonId, &first));
  EXPECT_EQ(58, first.width);
  EXPECT_EQ(19, first.height);
  EXPECT_EQ(58, first.extent.right);
  EXPECT_EQ(19, first.extent.bottom);
  EXPECT_EQ(0, Load(art::kButtonId, &second));
  EXPECT_EQ(first.memDC, second.memDC);
  EXPECT_EQ(first.bitmap, second.bitmap);
  EXPECT_EQ(7, second.extent.right) << "a cache hit leaves extent as it was";
  const int slot = SlotOf(art::kButtonId);
  ASSERT_GE(slot, 0);
  EXPECT_EQ(2, BitmapCache.references[slot]);

  ReleaseCachedBitmap(&first);
  EXPECT_EQ(1, BitmapCache.references[slot]);
  EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(second.memDC)) << "the first release deletes nothing";
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(second.bitmap));

  ReleaseCachedBitmap(&second);
  EXPECT_EQ(0, BitmapCache.references[slot]);
  EXPECT_EQ(0u, BitmapCache.id[slot]);
  EXPECT_EQ(0u, GetObjectType(second.memDC)) << "the last release deletes the DC";
  EXPECT_EQ(0u, GetObjectType(second.bitmap)) << "and the bitmap";

  JBitmap third = {};
  EXPECT_EQ(1, Load(art::kButtonId, &third));
  ReleaseCachedBitmap(&third);
}

TEST_F(BitmapCacheTest, MissingResourceGivesABlankBitmapOfTheEncodedSize) {
  JBitmap blank = {};
  EXPECT_EQ(1, Load(0x0014001E, &blank));
  EXPECT_EQ(30, blank.width);
  EXPECT_EQ(20, blank.height);
  EXPECT_EQ(30, blank.extent.right);
  EXPECT_EQ(20, blank.extent.bottom);
  BITMAP info = {};
  ASSERT_NE(0, GetObjectA(blank.bitmap, sizeof info, &info));
  EXPECT_EQ(30, info.bmWidth);
  EXPECT_EQ(20, info.bmHeight);
  EXPECT_GE(SlotOf(0x0014001E), 0) << "cached under the full 32-bit id";
  EXPECT_EQ(-1, SlotOf(0x1E));
  JBitmap same = {};
  EXPECT_EQ(0, Load(0x0014001E, &same));
  EXPECT_EQ(blank.memDC, same.memDC);
  ReleaseCachedBitmap(&same);
  ReleaseCachedBitmap(&blank);
}

TEST_F(BitmapCacheTest, TheFiftyFirstBitmapIsLoadedButNotCached) {
  JBitmap held[kBitmapCacheSlots] = {};
  for (int i = 0; i < kBitmapCacheSlots; ++i) ASSERT_EQ(1, Load(0x00030300u + i, &held[i])) << "id " << i;
  BitmapCacheTable before = BitmapCache;

  JBitmap extra = {};
  EXPECT_EQ(1, Load(0x00040005u, &extra));
  EXPECT_EQ(5, extra.width);
  EXPECT_EQ(4, extra.height);
  EXPECT_EQ(-1, SlotOf(0x00040005u));
  JBitmap again = {};
  EXPECT_EQ(1, Load(0x00040005u, &again)) << "a later request loads it again";
  EXPECT_NE(extra.memDC, again.memDC);
  ReleaseCachedBitmap(&extra);
  EXPECT_EQ(0, memcmp(&before, &BitmapCache, sizeof before)) << "releasing it leaves the 50 slots unchanged";
  EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(extra.memDC)) << "its DC stays";

  for (JBitmap& b : held) ReleaseCachedBitmap(&b);
  for (int slot = 0; slot < kBitmapCacheSlots; ++slot) EXPECT_EQ(0, BitmapCache.references[slot]);
  DeleteDC(again.memDC);
  DeleteObject(again.bitmap);
  DeleteDC(extra.memDC);
  DeleteObject(extra.bitmap);
}

}  // namespace
