#pragma once
// The screen the window shows once the files are installed.
#include <windows.h>

// Switches the widgets to the completion screen: only the completion
// picture, the site link and Finish remain; the drop-down moves out of sight.
void EnterCompletionScreen(HWND window);

// The completion screen's own font and the drop-down's hiding place at the
// toolkit's current scale (after a change of the display's scale).
void RescaleCompletionScreen(HWND window);
