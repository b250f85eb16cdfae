#pragma once
// Resource and control ids of the settings dialog, shared by the resource
// script, the dialog's code and the tests that drive it.
#define IDD_SETTINGS 200
#define IDC_ANGLE 1001
#define IDC_HEIGHT 1002
#define IDC_AMOUNT 1003
#define IDC_RESULT 1004
#define IDC_PREVIEW 1005
