#include <windows.h>

#include "app/MainDialog.h"
#include "app/ProcessHardening.h"
#include "app/WidgetSlots.h"
#include "common/ComApartment.h"
#include "jui/JContext.h"
#include "jui/JPanel.h"

// Only one copy runs at a time; the guard is this named mutex.
// One blank on purpose: every release uses this very name, so copies of different releases never run at once.
static const char kSingleInstanceMutex[] = " ";

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HardenProcess();
  HANDLE guard = CreateMutexA(nullptr, TRUE, kSingleInstanceMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  ElementSlots[kSlotInstance] = instance;
  JPanel* panel = new JPanel();
  ElementSlots[kSlotPanel] = panel->Init(&MainContext, instance);

  // The dialog always ends with 0; anything else means it could not be made.
  // One letter on purpose: the program's own resources may be what failed, and "E" needs none.
  const INT_PTR result = DialogBoxParamA(instance, "main", nullptr, MainDialogProc, 0);
  if (result != 0) MessageBoxA(nullptr, "E", nullptr, MB_OK);

  LeaveComApartment();

  if (guard) ReleaseMutex(guard);
  return 0;
}
