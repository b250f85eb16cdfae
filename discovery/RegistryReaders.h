#pragma once
// Thin registry readers. The ones given a hive and a path open the key, make
// one read and close it again; the walk uses the ones given an open key.
// Everything read is NUL-terminated inside the caller's buffer, and only
// REG_SZ values count as text.
#include <windows.h>

#include <cstddef>

constexpr std::size_t kRegistryTextCapacity = 256;  // value names, value data, subkey names

// Index of the value that the next EnumNextStringValue reads. Advanced by
// every read; back to 0 when a key's values are exhausted or cannot be read.
extern DWORD ValueCursor;

// KEY_READ in the view that Use64BitRegistryView selects: the 64-bit view
// when it is set, otherwise the 32-bit view in both builds of the program.
REGSAM DiscoveryAccess();

// The value named name ("" for the key's default value) as text, into out
// (kRegistryTextCapacity bytes). Returns the registry status. A value of
// another type reads as "" with status 0; a string that does not fit reads
// as "" with ERROR_MORE_DATA. When the key cannot be opened, out is untouched.
LONG ReadStringValue(HKEY hive, const char* subkey, const char* name, char* out);

// The value at ValueCursor of the key. Returns 0 and fills name and data
// (kRegistryTextCapacity each; data "" when the value is not REG_SZ);
// ERROR_MORE_DATA with name and data "" when the value's name or data does
// not fit: that value is passed over and the cursor moves on; any other
// status ends the key's values and sets the cursor back to 0.
LONG EnumNextStringValue(HKEY hive, const char* subkey, char* name, char* data);

// Opens subkey of parent for reading in the view of DiscoveryAccess. Never
// answers ERROR_MORE_DATA (which the readers keep for one too-long value).
LONG OpenDiscoveryKey(HKEY parent, const char* subkey, HKEY* key);

// The same two reads on a key the caller holds open.
LONG EnumNextStringValueOf(HKEY key, char* name, char* data);
LONG EnumSubkeyNameOf(HKEY key, char* name, DWORD index);

// The name of the key's subkey with the given index, into name
// (kRegistryTextCapacity characters). Returns the registry status.
LONG EnumSubkeyName(HKEY hive, const char* subkey, char* name, DWORD index);
