#include "common/Wow64.h"

#include <windows.h>

#include "common/ElementSlots.h"

int IsWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleA("kernel32");
  FARPROC entry = kernel ? GetProcAddress(kernel, "IsWow64Process") : nullptr;
  ElementSlots[kSlotIsWow64Process] = reinterpret_cast<void*>(entry);
#ifdef _WIN64
  (void)sizeof(IsWow64ProcessFn);
  // The 64-bit build of this program (used for testing) runs only on 64-bit Windows.
  return 1;
#else
  if (!entry) return 0;
  BOOL wow64 = FALSE;
  reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(entry))(GetCurrentProcess(), &wow64);
  return wow64;
#endif
}
