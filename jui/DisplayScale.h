#pragma once
// The display's scale as the toolkit draws at it: the window's dots per
// inch, and the fonts that go with it.
#include <windows.h>

#include "jui/JContext.h"

// The dots per inch of the monitor that shows window (the system's where
// Windows cannot tell per window); 96 when nothing answers.
int WindowDpi(HWND window);

// Makes context draw at dpi: its pictures are loaded for it from now on,
// and UiFont and LinkFont become the toolkit's fonts at that scale (the old
// ones stay alive: a DC prepared earlier may still have them selected).
void SetDisplayDpi(JContext* context, int dpi);

// The toolkit's 13-pixel font height at the context's scale.
int UiFontHeight(const JContext* context);
