#include "FolderEntries.h"

#include <cstring>

#include "../common/bounded.h"
#include "../discovery/CandidateForm.h"

bool ComposeDetectedEntry(char* out, std::size_t capacity, const char* path, int appendMakerFolder) {
  if (capacity == 0) return false;
  out[0] = '\0';
  if (!path || !path[0]) return false;
  if (!CopyWhole(out, capacity, path) || (appendMakerFolder && !AppendWhole(out, capacity, kMakerFolderSuffix))) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool ComposeBrowsedEntry(char* path, std::size_t capacity) {
  const std::size_t length = strnlen(path, capacity);
  if (length == 0 || length >= capacity) return false;
  if (path[length - 1] == '\\') return true;
  return AppendWhole(path, capacity, "\\");
}
