// Libraries loaded after start-up come from the system folder only: never
// from the folder the installer was started in, nor from the current
// directory, which the folder tests point at registry-named folders.
#pragma once
#include <windows.h>

// Loads NAME (a bare file name such as "shell32.dll") from the system folder.
// Returns null when it is not there; the caller treats that like a missing
// feature.
HMODULE LoadSystemLibrary(const char* name);

// FN named NAME in kernel32, or null on a system without it. Functions newer
// than the oldest supported Windows are looked up this way, never imported.
template <typename Fn>
Fn Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC entry = kernel ? GetProcAddress(kernel, name) : nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(entry));
}
