#include "jui/BitmapCache.h"

#include "jui/BlankBitmap.h"
#include "jui/GdiScope.h"

// Static initialisation leaves every id and reference count at 0: all free.
BitmapCacheTable BitmapCache;

int TakeCachedBitmap(unsigned int id, JBitmap* record) {
  for (int slot = 0; slot < kBitmapCacheSlots; ++slot) {
    // A free slot always has id 0, and id 0 is never requested.
    if (BitmapCache.id[slot] == id && BitmapCache.references[slot] != 0) {
      record->memDC = BitmapCache.memDC[slot];
      record->bitmap = BitmapCache.bitmap[slot];
      record->width = BitmapCache.width[slot];
      record->height = BitmapCache.height[slot];
      ++BitmapCache.references[slot];
      return 1;
    }
  }
  return 0;
}

void KeepCachedBitmap(unsigned int id, const JBitmap* record) {
  for (int slot = 0; slot < kBitmapCacheSlots; ++slot) {
    if (BitmapCache.references[slot] == 0) {
      BitmapCache.id[slot] = id;
      BitmapCache.references[slot] = 1;
      BitmapCache.memDC[slot] = record->memDC;
      BitmapCache.bitmap[slot] = record->bitmap;
      BitmapCache.width[slot] = record->width;
      BitmapCache.height[slot] = record->height;
      return;
    }
  }
}

int LoadCachedBitmap(unsigned int id, JBitmap* record, HINSTANCE instance, HDC dc) {
  if (TakeCachedBitmap(id, record)) return 0;

  // Without a reference DC the screen is the reference.
  WindowDC screen(nullptr, dc == nullptr);
  if (!dc) dc = screen.dc();
  record->bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(id & 0xFFFF));
  record->memDC = CreateCompatibleDC(dc);
  if (record->bitmap) {
    SelectObject(record->memDC, record->bitmap);  // stays selected while the slot lives
    BITMAP info = {};
    GetObjectA(record->bitmap, sizeof info, &info);
    record->width = info.bmWidth;
    record->height = info.bmHeight;
  } else {
    record->width = static_cast<int>(id & 0x3FF);
    record->height = static_cast<int>((id >> 16) & 0x3FF);
    record->bitmap = CreateBlankBitmap(dc, record->width, record->height);
    SelectObject(record->memDC, record->bitmap);
  }
  SetRect(&record->extent, 0, 0, record->width, record->height);
  KeepCachedBitmap(id, record);
  return 1;
}

void ReleaseCachedBitmap(JBitmap* record) {
  if (!record || !record->memDC) return;
  for (int slot = 0; slot < kBitmapCacheSlots; ++slot) {
    if (BitmapCache.references[slot] != 0 && BitmapCache.memDC[slot] == record->memDC) {
      if (--BitmapCache.references[slot] == 0) {
        DeleteDC(record->memDC);  // deselects the bitmap, so it can go next
        DeleteObject(record->bitmap);
        BitmapCache.id[slot] = 0;
      }
      return;
    }
  }
}
