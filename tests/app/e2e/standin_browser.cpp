// Registered as the web browser of the test prefix: records which process
// started it, and the address it was given, then ends.
//   e2e_standin_browser RECORD-FILE ADDRESS
// The record's first line is the parent's process id and file name, the
// second the address.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const DWORD self = GetCurrentProcessId();
  DWORD parent = 0;
  char parentName[MAX_PATH] = "?";
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot != INVALID_HANDLE_VALUE) {
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
      if (entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more && parent; more = Process32Next(snapshot, &entry))
      if (entry.th32ProcessID == parent) std::snprintf(parentName, sizeof parentName, "%s", entry.szExeFile);
    CloseHandle(snapshot);
  }
  // Written under another name and moved into place: the test never reads half a record.
  char partial[MAX_PATH + 8];
  std::snprintf(partial, sizeof partial, "%s.part", argv[1]);
  FILE* out = std::fopen(partial, "w");
  if (!out) return 1;
  std::fprintf(out, "%lu %s\n%s\n", static_cast<unsigned long>(parent), parentName, argv[2]);
  std::fclose(out);
  return MoveFileExA(partial, argv[1], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
