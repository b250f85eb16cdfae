#include <windows.h>
#include <objbase.h>

#include "app/MainDialog.h"
#include "app/WidgetSlots.h"
#include "jui/JContext.h"
#include "jui/JPanel.h"

// Only one copy runs at a time; the guard is this named mutex.
static const char kSingleInstanceMutex[] = " ";

// The folder tests make registry-named folders the current directory, and
// this program runs elevated: take the current directory out of the DLL
// search order before any library is loaded on demand. Looked up at run
// time, since the oldest systems lack the call.
static void KeepCurrentDirectoryOutOfDllSearch() {
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  HMODULE kernel = GetModuleHandleA("kernel32");
  FARPROC entry = kernel ? GetProcAddress(kernel, "SetDllDirectoryA") : nullptr;
  if (entry) reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(entry))("");
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  KeepCurrentDirectoryOutOfDllSearch();
  HANDLE guard = CreateMutexA(nullptr, TRUE, kSingleInstanceMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  // The folder browser is a shell object: its thread must be in a
  // single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  ElementSlots[kSlotInstance] = instance;
  JPanel* panel = new JPanel();
  ElementSlots[kSlotPanel] = panel->Init(&MainContext, instance);

  // The dialog always ends with 0; anything else means it could not be made.
  const INT_PTR result = DialogBoxParamA(instance, "main", nullptr, MainDialogProc, 0);
  if (result != 0) MessageBoxA(nullptr, "E", nullptr, MB_OK);

  if (SUCCEEDED(com)) CoUninitialize();

  if (guard) ReleaseMutex(guard);
  return 0;
}
