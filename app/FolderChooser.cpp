#include "app/FolderChooser.h"

#include "app/FolderEntries.h"
#include "app/IndicatorRule.h"
#include "app/DialogState.h"
#include "app/WidgetSlots.h"
#include "common/ComApartment.h"
#include "common/SystemApi.h"
#include "common/Wow64.h"
#include "discovery/FolderCandidates.h"
#include "payload/PayloadWriter.h"

int BrowsedEntryPresent;

namespace {

// Receives each entry's text while the drop-down is filled, the browser's
// display name and then the chosen folder's path.
char WorkingBuffer[kInstallFolderCapacity];

constexpr char kBrowseTitle[] = "Please Select Your Plug-Ins Folder";
BROWSEINFOA BrowseSettings;

// The entry whose text InstallFolder holds, -1 for none.
LRESULT ChosenEntry = -1;
// Counts the runs of the folder browser, so that one choice never opens it twice.
WPARAM BrowseRuns;

LRESULT DropDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageA(window, kFolderDropDownId, message, wParam, lParam);
}

int BrowseEntryIndex() { return BrowseIndex() + BrowsedEntryPresent; }

// Takes the focus off the drop-down, so the mouse wheel or a stray key cannot change the chosen folder.
void ClickHiddenButton(HWND window) { SendDlgItemMessageA(window, kHiddenButtonId, BM_CLICK, 0, 0); }

// The folder browser. On success the chosen folder becomes the browsed
// entry, just above the Browse entry, and is selected; otherwise entry 0 is.
void BrowseForFolder(HWND window) {
  ++BrowseRuns;
  // The browser is a shell object: it needs the shell and a single-threaded
  // apartment. Without them it cannot open, which counts as a cancel.
  const ShellApi* shell = ShellFunctions();
  const ComApi* com = JoinComApartment() ? ComFunctions() : nullptr;
  LPITEMIDLIST chosen = shell && com ? shell->SHBrowseForFolderA(&BrowseSettings) : nullptr;
  if (!chosen) {
    DropDown(window, CB_SETCURSEL, 0, 0);
    return;
  }
  WorkingBuffer[0] = '\0';
  if (!shell->SHGetPathFromIDListA(chosen, WorkingBuffer)) WorkingBuffer[0] = '\0';
  com->CoTaskMemFree(chosen);
  // An empty path (a folder without one) or one without room for its
  // backslash is treated like a cancel, as is a folder that cannot be entered.
  if (!ComposeBrowsedEntry(WorkingBuffer, sizeof WorkingBuffer) || !SetCurrentDirectoryA(WorkingBuffer)) {
    DropDown(window, CB_SETCURSEL, 0, 0);
    return;
  }
  const int index = BrowseIndex();
  if (BrowsedEntryPresent == 1) DropDown(window, CB_DELETESTRING, index, 0);
  DropDown(window, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(WorkingBuffer));
  DropDown(window, CB_SETCURSEL, index, 0);
  BrowsedEntryPresent = 1;
}

void FollowSelection(HWND window) {
  ReadSelectionIntoInstallFolder(window);
  UpdateIndicators();
}

}  // namespace

void FillBrowseSettings(HWND window) {
  BrowseSettings.hwndOwner = window;
  BrowseSettings.pidlRoot = nullptr;
  BrowseSettings.pszDisplayName = WorkingBuffer;
  BrowseSettings.lpszTitle = kBrowseTitle;
  BrowseSettings.ulFlags = BIF_RETURNONLYFSDIRS;
  BrowseSettings.lpfn = nullptr;
  BrowseSettings.lParam = 0;
  BrowseSettings.iImage = 0;
}

bool ReadSelectionIntoInstallFolder(HWND window) {
  const LRESULT selection = DropDown(window, CB_GETCURSEL, 0, 0);
  const LRESULT length = selection == CB_ERR ? CB_ERR : DropDown(window, CB_GETLBTEXTLEN, selection, 0);
  char entry[kInstallFolderCapacity] = "";
  if (length == CB_ERR || length >= kInstallFolderCapacity) {
    SetInstallFolder(nullptr);
    ChosenEntry = -1;
    return false;
  }
  DropDown(window, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(entry));
  SetInstallFolder(entry);
  ChosenEntry = selection;
  return true;
}

void FillFolderDropDown(HWND window) {
  int added = 0;
  for (int i = 0; i < kFolderCandidateCount && FolderCandidates[i].Path[0]; ++i) {
    // A folder whose entry would not fit is left out rather than cut into another folder's name.
    if (!ComposeDetectedEntry(WorkingBuffer, sizeof WorkingBuffer, FolderCandidates[i].Path,
                              FolderCandidates[i].AppendMakerFolder))
      continue;
    DropDown(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WorkingBuffer));
    ++added;
  }
  DropDown(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kBrowseEntryText));
  SetBrowseIndex(added);
  BrowsedEntryPresent = 0;
  DropDown(window, CB_SETCURSEL, 0, 0);
  ClickHiddenButton(window);
  FollowSelection(window);
}

void OnFolderDropDown(HWND window, int code) {
  if (code == CBN_SELCHANGE || code == CBN_SELENDCANCEL) ClickHiddenButton(window);
  if (code == CBN_SELENDOK) {
    // Choosing the entry that is already chosen raises no selection change
    // on Windows; for the Browse entry the browser must open all the same.
    // Posted, so that a selection change of the same choice can run first.
    const LRESULT selection = DropDown(window, CB_GETCURSEL, 0, 0);
    if (selection == BrowseEntryIndex() && ChosenEntry == selection) PostMessageA(window, WM_BROWSE_AGAIN, BrowseRuns, 0);
    return;
  }
  if (code != CBN_SELCHANGE) return;
  if (DropDown(window, CB_GETCURSEL, 0, 0) == BrowseEntryIndex()) BrowseForFolder(window);
  FollowSelection(window);
}

void OnBrowseAgain(HWND window, WPARAM browseRun) {
  if (browseRun != BrowseRuns || !BrowseEntrySelected(window)) return;
  BrowseFromBrowseEntry(window);
}

bool BrowseEntrySelected(HWND window) { return DropDown(window, CB_GETCURSEL, 0, 0) == BrowseEntryIndex(); }

void BrowseFromBrowseEntry(HWND window) {
  BrowseForFolder(window);
  FollowSelection(window);
}

void UpdateIndicators() {
  JButton* indicator32 = SlotButton(kSlotIndicator32);
  JButton* indicator64 = SlotButton(kSlotIndicator64);
  if (!indicator32 || !indicator64) return;
  const IndicatorState wanted = IndicatorsFor(IsWow64(), InstallFolder);
  // Hide first, then show; showing an indicator that is already shown draws it again.
  if (!wanted.show32 && indicator32->visible) indicator32->Show(0);
  if (!wanted.show64 && indicator64->visible) indicator64->Show(0);
  if (wanted.show32) indicator32->Show(1);
  if (wanted.show64) indicator64->Show(1);
}
