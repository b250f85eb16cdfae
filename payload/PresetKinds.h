#pragma once
// Blocks of preset records that a payload may carry for the maker's other
// filters. They are stored as binary registry values instead of files.

struct PresetKind {
  const char* marker;       // occurs in the decoded resource name
  int recordCount;
  int recordSize;           // bytes
  const char* key;          // below HKEY_CURRENT_USER
  const char* valuePrefix;  // followed by the two-digit record number
};

// The kind whose marker occurs in the decoded name, the first in table order; null for none.
const PresetKind* FindPresetKind(const char* decodedName);

// The bytes a block of this kind must hold: its records, one after another.
// A shorter block is refused whole; the tail of a longer one is ignored.
unsigned long PresetBlockBytes(const PresetKind& kind);
bool PresetBlockComplete(const PresetKind& kind, unsigned long long blockSize);

// "Portrait01" and so on: prefix and the record number n (1-based) with two digits.
// Returns false when the result does not fit cap.
bool FormatPresetValueName(char* out, int cap, const PresetKind& kind, int n);
