#include "common/SystemLibrary.h"

#include "common/bounded.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

HMODULE LoadSystemLibrary(const char* name) {
  // Where the loader knows the flag, it searches the system folder alone,
  // for the library and for everything the library itself loads.
  HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;

  // Older systems reject the flag: name the file by its full path, and let
  // its own imports be searched from its folder first.
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  if (!AppendWhole(path, MAX_PATH, "\\") || !AppendWhole(path, MAX_PATH, name)) return nullptr;
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
