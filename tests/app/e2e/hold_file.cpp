// Holds a file open without sharing, as a running host holds the plug-in it
// has loaded or a virus scanner a file it is reading:
//   e2e_hold_file PATH            until it is ended;
//   e2e_hold_file PATH PATTERN    until a file matching PATTERN (a wildcard
//                                 path: the installer's temporary file) has
//                                 been there for kReleaseAfterMs, then ends.
// Exit code 0 after a release, 1 when the file cannot be opened.
#include <windows.h>

namespace {

// Long enough for the installer to have tried the move at least once, short
// enough to end within its retries.
constexpr DWORD kReleaseAfterMs = 300;

bool Exists(const char* pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) return 2;
  // The test polls the file to see when it is held, and each poll opens it
  // for a moment: a sharing violation then is the test's, so try again.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(10);
  }
  if (file == INVALID_HANDLE_VALUE) return 1;
  if (argc == 2) Sleep(INFINITE);
  while (!Exists(argv[2])) Sleep(5);
  Sleep(kReleaseAfterMs);
  CloseHandle(file);
  return 0;
}
