#pragma once
// Keys of the components the user deselected. A payload resource whose
// decoded name contains a key (case-sensitive) is not installed.

constexpr int kSkipListEntries = 20;
constexpr int kSkipKeyCapacity = 800;

extern char SkipList[kSkipListEntries][kSkipKeyCapacity];

// Frees every entry.
void ClearSkipList();

// Copies the key into the first free entry; does nothing when all are used
// or when the key is empty or does not fit an entry.
void AddSkipKey(const char* key);

// True when one of the used entries occurs in the decoded file name.
bool InSkipList(const char* decodedName);
