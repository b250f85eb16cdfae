#pragma once
// Loads each bitmap resource once and shares it, by reference count, among
// every JBitmap that asks for the same id.
//
// Bitmap id: the low 16 bits name the bitmap resource. When no such resource
// loads, bits 0-9 give the width and bits 16-25 the height of a blank 24-bit
// bitmap made instead. The whole 32-bit value is the cache key.
#include <windows.h>

#include "jui/JBitmap.h"

constexpr int kBitmapCacheSlots = 50;

// Six parallel columns indexed by slot; a slot with reference count 0 is free.
struct BitmapCacheTable {
  unsigned int id[kBitmapCacheSlots];
  int references[kBitmapCacheSlots];
  int width[kBitmapCacheSlots];
  int height[kBitmapCacheSlots];
  HDC memDC[kBitmapCacheSlots];
  HBITMAP bitmap[kBitmapCacheSlots];
};

extern BitmapCacheTable BitmapCache;

// Fills the record; returns 1 when it created the GDI objects, 0 when it took
// them from the cache. The caller stores the result in record->fresh.
int LoadCachedBitmap(unsigned int id, JBitmap* record, HINSTANCE instance, HDC dc);

// The two halves of a load for pictures made another way: TakeCachedBitmap
// fills the record from the slot holding id (adding a reference) and returns
// 1, or returns 0 when no slot does; KeepCachedBitmap enters a record's
// objects under id in the first free slot (none free: the record alone
// holds them).
int TakeCachedBitmap(unsigned int id, JBitmap* record);
void KeepCachedBitmap(unsigned int id, const JBitmap* record);

// Gives back one reference; the last one deletes the DC and the bitmap. A
// record whose memDC is not in the cache is left alone.
void ReleaseCachedBitmap(JBitmap* record);
