#include "CandidateForm.h"

#include <cstring>

#include "PathRules.h"

bool NormaliseCandidate(char* path, std::size_t capacity) {
  if (capacity == 0 || strnlen(path, capacity) >= capacity) return false;
  LowerAsciiString(path);
  char* mire = std::strstr(path, "mire");
  if (mire && mire > path && mire[-1] == '\\') *mire = '\0';
  if (!EnsureTrailingBackslash(path, capacity)) return false;
  TitleCasePath(path);
  return std::strlen(path) + sizeof kMakerFolderSuffix <= static_cast<std::size_t>(kPathCapacity);
}
