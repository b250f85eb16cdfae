#include "app/ProcessHardening.h"

#include <windows.h>

#include "common/SystemLibrary.h"

namespace {

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
#ifndef BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
#define BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE 0x00000001
#endif
#ifndef BASE_SEARCH_PATH_PERMANENT
#define BASE_SEARCH_PATH_PERMANENT 0x00008000
#endif
#ifndef PROCESS_DEP_ENABLE
#define PROCESS_DEP_ENABLE 0x00000001
#endif

// Libraries loaded from now on, and everything they load in turn, come from
// the system folder alone: not from the folder the installer was started
// in (a download folder collects planted DLLs), nor from the current
// directory (the folder tests point it at registry-named folders).
void LoadLibrariesFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  auto restrict = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  if (restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it (a system before the update that brought it) at least the
  // current directory leaves the search; LoadSystemLibrary names the system
  // folder by full path there.
  if (auto noCurrentDirectory = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryA")) noCurrentDirectory("");
}

void TerminateOnHeapCorruption() {
  using HeapSetInformationFn = BOOL(WINAPI*)(HANDLE, HEAP_INFORMATION_CLASS, PVOID, SIZE_T);
  if (auto set = Kernel32Function<HeapSetInformationFn>("HeapSetInformation"))
    set(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}

// SearchPath looks in the current directory last, for the rest of the run.
void SafeSearchPathMode() {
  using SetSearchPathModeFn = BOOL(WINAPI*)(DWORD);
  if (auto set = Kernel32Function<SetSearchPathModeFn>("SetSearchPathMode"))
    set(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}

// The image asks for DEP; a 32-bit Windows set to "opt in" may still run it
// without, so the process turns it on for itself, for good. 64-bit processes
// always have it.
void DataExecutionPrevention() {
#ifndef _WIN64
  using SetProcessDEPPolicyFn = BOOL(WINAPI*)(DWORD);
  if (auto set = Kernel32Function<SetProcessDEPPolicyFn>("SetProcessDEPPolicy")) set(PROCESS_DEP_ENABLE);
#endif
}

}  // namespace

void HardenProcess() {
  LoadLibrariesFromSystemFolderOnly();
  TerminateOnHeapCorruption();
  SafeSearchPathMode();
  DataExecutionPrevention();
}
