#pragma once
// The ids of the installer's resources and of the main dialog's controls,
// shared by the resource script, the program and the tests.
#define IDB_CHECK_BOX_STRIP 128
#define IDB_EXIT_BUTTON 203
#define IDB_COMPLETION_PICTURE 213
#define IDB_INSTALL_BUTTON 219
#define IDB_FINISH_BUTTON 220
#define IDB_BACKGROUND 222
#define IDB_INDICATOR32 224
#define IDB_INDICATOR64 225
#define IDC_LINK_CURSOR 120
#define IDC_FOLDER_DROPDOWN 1033
#define IDC_HIDDEN_BUTTON 1034
