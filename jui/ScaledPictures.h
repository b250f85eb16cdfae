#pragma once
// The window's pictures at the display's scale. At 96 dots per inch they
// are the bitmap resources themselves (LoadCachedBitmap). At any other
// scale a picture comes from the set drawn for that scale, or from the
// nearest larger set reduced to size (jui/ScaleRules.h), and is shared
// through the BitmapCache like every other picture.
#include <windows.h>

#include "jui/JBitmap.h"

// Fills record with picture designId (the id of its 100 % bitmap) as it is
// drawn at dpi; returns what LoadCachedBitmap returns. A picture that
// cannot be made at that scale is loaded as LoadCachedBitmap loads it.
int LoadPictureAtDpi(unsigned int designId, int dpi, JBitmap* record, HINSTANCE instance, HDC dc);
