// Holds a file open without sharing until it is ended, as a running host
// holds the plug-in it has loaded: e2e_hold_file <path>. Exit code 1 when
// the file cannot be opened.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  Sleep(INFINITE);
  CloseHandle(file);
  return 0;
}
