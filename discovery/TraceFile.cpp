#include "TraceFile.h"

#include <windows.h>

#include <cstring>

#include "../common/LinkChecks.h"

namespace {

// Writes text with every "\n" turned into "\r\n", as a text-mode stream would.
void WriteAsTextMode(HANDLE file, const char* text) {
  const char* p = text;
  while (*p) {
    const char* lf = std::strchr(p, '\n');
    const DWORD run = static_cast<DWORD>(lf ? lf - p : std::strlen(p));
    DWORD written = 0;
    if (run) WriteFile(file, p, run, &written, nullptr);
    if (!lf) break;
    WriteFile(file, "\r\n", 2, &written, nullptr);
    p = lf + 1;
  }
}

}  // namespace

bool AppendToTraceFile(const char* const* pieces, int count) {
  // Opening the name itself, not what a link points to: the checks below
  // then look at the very file that would be written.
  HANDLE file = CreateFileA(kTraceFilePath, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool usable = IsPlainSingleFile(file);
  if (usable) {
    LARGE_INTEGER end = {};
    SetFilePointerEx(file, end, nullptr, FILE_END);
    for (int i = 0; i < count; ++i) WriteAsTextMode(file, pieces[i]);
  }
  CloseHandle(file);
  return usable;
}
