#include "app/InstallCommand.h"

#include "app/CompletionScreen.h"
#include "app/FailureMessage.h"
#include "app/FolderChooser.h"
#include "app/DialogState.h"
#include "app/PayloadTypes.h"
#include "app/WidgetSlots.h"
#include "common/Wow64.h"
#include "payload/PayloadOutcome.h"
#include "payload/PayloadWriter.h"
#include "payload/SkipList.h"

namespace {

constexpr char kMessageCaption[] = "iRelief Setup";

// The folder exists once it can be entered or its last level created; a
// deeper missing tree is not made. On failure, what stood in the way and the
// system's error of the step that failed.
bool EnsureInstallFolder(FolderProblem* problem, DWORD* error) {
  if (SetCurrentDirectoryA(InstallFolder)) return true;
  const DWORD enterError = GetLastError();
  if (CreateDirectoryA(InstallFolder, nullptr)) return true;
  *error = GetLastError();
  *problem = FolderProblem::CannotCreate;
  if (*error == ERROR_ALREADY_EXISTS) {
    // Something of that name is there: the creation is not what failed.
    const DWORD attributes = GetFileAttributesA(InstallFolder);
    const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    *problem = isFolder ? FolderProblem::CannotEnter : FolderProblem::FileInItsPlace;
    *error = enterError;
  }
  return false;
}

// The keys of the unchecked components, rebuilt for every attempt so that a
// retry follows the check boxes as they are now.
void RebuildSkipList() {
  ClearSkipList();
  for (int slot = kSlotFirstSelector; slot <= kSlotLastSelector; ++slot) {
    JSelector* selector = SlotSelector(slot);
    if (selector && selector->value == 0) AddSkipKey(selector->componentKey);
  }
}

void WritePayload() {
  int types[2] = {0, 0};
  const int count = ChoosePayloadTypes(IsWow64(), InstallFolder, types);
  for (int i = 0; i < count; ++i)
    EnumResourceNamesA(ModuleInstance(), MAKEINTRESOURCEA(types[i]), ExtractPayloadResource, types[i]);
}

// What could not be done, in the setup's own message box.
void Report(HWND window, const char* text) { MessageBoxA(window, text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION); }

}  // namespace

BOOL OnInstallCommand(HWND window) {
  if (InstallDone == 1) {
    EndDialog(window, 0);
    return TRUE;
  }
  JButton* install = SlotButton(kSlotInstallButton);
  if (!install || install->visible == 0) return FALSE;
  if (SumSelectorValues() == 0) return FALSE;

  // The Browse entry names no folder: Install asks for one instead.
  if (BrowseEntrySelected(window)) {
    BrowseFromBrowseEntry(window);
    return FALSE;
  }
  if (!ReadSelectionIntoInstallFolder(window)) return FALSE;
  char text[kFailureMessageCapacity];
  FolderProblem problem = FolderProblem::CannotCreate;
  DWORD error = 0;
  if (!EnsureInstallFolder(&problem, &error)) {
    ComposeFolderMessage(text, sizeof text, InstallFolder, problem, error);
    Report(window, text);
    return FALSE;
  }

  RebuildSkipList();
  ClearOutcomes();
  WritePayload();
  if (Outcomes.failed > 0) {
    // Stay in the choosing phase: the user can retry or pick another folder.
    ComposeFailureMessage(text, sizeof text, Outcomes, InstallFolder);
    Report(window, text);
    return FALSE;
  }
  EnterCompletionScreen(window);
  return FALSE;
}
