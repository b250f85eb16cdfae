#pragma once
// The folder drop-down, the folder browser and the architecture indicators.
#include <windows.h>

// 1 once the user has successfully browsed for a folder; never cleared.
extern int BrowsedEntryPresent;

// Fills the folder browser's settings; the main window owns the browser.
void FillBrowseSettings(HWND window);

// Fills the drop-down from FolderCandidates, selects entry 0, sets
// InstallFolder and the indicators.
void FillFolderDropDown(HWND window);

// WM_COMMAND from the drop-down, with its notification code.
void OnFolderDropDown(HWND window, int code);

// WM_BROWSE_AGAIN: the user chose the Browse entry while it was already chosen.
void OnBrowseAgain(HWND window, WPARAM browseRun);

// True when the drop-down's selection is the Browse entry.
bool BrowseEntrySelected(HWND window);

// Runs the folder browser for the Browse entry and follows the result with
// InstallFolder and the indicators.
void BrowseFromBrowseEntry(HWND window);

// Copies the selected entry's text into InstallFolder; false (and
// InstallFolder empty) when there is no selection or it does not fit.
bool ReadSelectionIntoInstallFolder(HWND window);

// Shows the indicators of the builds that InstallFolder will receive.
void UpdateIndicators();
