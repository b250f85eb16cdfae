// A DLL that tells when it has been loaded: on process attach it creates
// "<its own path>.loaded". The tests copy it beside a copy of the installer
// under the names of libraries the installer loads. It imports kernel32 only
// and brings no runtime, so that it loads under any name, msvcrt included.
#include <windows.h>

extern "C" BOOL WINAPI MarkerEntry(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t marker[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcatW(marker, L".loaded");
  HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
