#include "SkipList.h"

#include <cstring>

#include "../common/bounded.h"

char SkipList[kSkipListEntries][kSkipKeyCapacity];

void ClearSkipList() {
  for (auto& entry : SkipList) entry[0] = '\0';
}

void AddSkipKey(const char* key) {
  if (!key || !key[0]) return;  // an empty entry would mean "free"
  for (auto& entry : SkipList) {
    if (entry[0] == '\0') {
      CopyWhole(entry, kSkipKeyCapacity, key);
      return;
    }
  }
}

bool InSkipList(const char* decodedName) {
  for (const auto& entry : SkipList) {
    if (entry[0] == '\0') break;
    if (std::strstr(decodedName, entry)) return true;
  }
  return false;
}
