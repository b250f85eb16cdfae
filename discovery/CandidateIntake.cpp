#include "CandidateIntake.h"

#include <windows.h>

#include <cstring>

#include "../common/Wow64.h"
#include "CandidateForm.h"
#include "FolderCandidates.h"
#include "RegistryView.h"
#include "TraceFile.h"

int VerifyFolder(char* path) {
  std::size_t length = std::strlen(path);
  if (length > 0 && path[length - 1] == '\\') path[--length] = '\0';
  for (std::size_t i = length; i-- > 3;) {
    if (SetCurrentDirectoryA(path)) return 1;
    if (path[i] == '\\') return 0;
    path[i] = '\0';
  }
  return 0;
}

namespace {

void TraceVerifiedFolder(const char* path, const char* descriptor) {
  const char* header = "";
  if (FolderCandidatesEmpty()) header = IsWow64() ? "\n\nWow64\n" : "\n\nx(86)\n";
  const char* pieces[] = {header, Use64BitRegistryView ? "x64 " : "x32 ", descriptor, "  ", path, "\n"};
  AppendToTraceFile(pieces, sizeof pieces / sizeof pieces[0]);
}

}  // namespace

void AddCandidate(char* path, std::size_t capacity, const char* descriptor) {
  if (!VerifyFolder(path)) return;
  TraceVerifiedFolder(path, descriptor);
  if (!NormaliseCandidate(path, capacity)) return;
  StoreCandidate(path, Use64BitRegistryView);
}
