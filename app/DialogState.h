#pragma once
// What the parts of the main dialog share: its controls, the ids of its
// commands and notifications, its layout and its phase.
#include <windows.h>

#include "app/MainLayout.h"
#include "res/ResourceIds.h"

// Dialog controls of the template "MAIN".
constexpr int kFolderDropDownId = IDC_FOLDER_DROPDOWN;
constexpr int kHiddenButtonId = IDC_HIDDEN_BUTTON;

// WM_COMMAND ids the dialog acts on (besides the drop-down's notifications).
constexpr int kCommandInstall = 1;  // IDOK: Enter, and the Install button's notification
constexpr int kCommandClose = 2;    // IDCANCEL: Escape, and the exit and Finish buttons' notification

// Command ids the widgets post with WM_JNOTIFY (wParam).
constexpr int kNotifyInstall = 219;             // Install button
constexpr int kNotifyClose = kCommandClose;     // exit and Finish buttons
constexpr int kNotifyHelpPage = 1029;           // site link
constexpr int kNotifyComponentSelector = 2000;  // component selector changed

// Posted by the folder chooser to itself: open the folder browser if the
// Browse entry is still chosen and no browse has run since (wParam).
constexpr UINT WM_BROWSE_AGAIN = WM_APP + 1;

// The layout, fixed when the dialog initialises.
extern MainLayout WindowLayout;

// 0 while the user is choosing, 1 once the install has succeeded.
extern int InstallDone;
