#include "common/Wow64.h"

#include <windows.h>

#include "common/ElementSlots.h"
#include "common/SystemLibrary.h"

int IsWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto entry = Kernel32Function<IsWow64ProcessFn>("IsWow64Process");
  ElementSlots[kSlotIsWow64Process] = reinterpret_cast<void*>(entry);
#ifdef _WIN64
  // The 64-bit build of this program (used for testing) runs only on 64-bit Windows.
  return 1;
#else
  if (!entry) return 0;
  BOOL wow64 = FALSE;
  entry(GetCurrentProcess(), &wow64);
  return wow64;
#endif
}
