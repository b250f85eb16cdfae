#pragma once
// Registry keys and values as the Windows tests write them in the test
// prefix, in either registry view, and read them back.
#include <windows.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// The two views as a test writes them; the 32-bit view is the one the real
// (32-bit) program reads by default.
constexpr REGSAM kView64 = KEY_WOW64_64KEY;
constexpr REGSAM kView32 = KEY_WOW64_32KEY;

// Writes a value, creating the key and its parents in the given view.
void SetRegistryValue(HKEY hive, REGSAM view, const std::string& key, const std::string& name, DWORD type,
                      const void* bytes, DWORD size);
// A REG_SZ value with its terminator.
void SetRegistryString(HKEY hive, REGSAM view, const std::string& key, const std::string& name,
                       const std::string& value);
void CreateRegistryKey(HKEY hive, REGSAM view, const std::string& key);
// The longest key name, up to 255 characters, that this system creates
// under parent (Windows takes 255; Wine fewer).
std::size_t LongestKeyName(HKEY hive, const std::string& parent);
// The key, its values and everything below it.
void DeleteRegistryTree(HKEY hive, REGSAM view, const std::string& key);

// A REG_BINARY value below HKEY_CURRENT_USER; false when the key or the value
// is missing, has another type or more than 64 KB.
bool ReadBinaryValue(const std::string& key, const char* name, Bytes* bytes);
// The names of the values of HKEY_CURRENT_USER\key; none when it is missing.
std::vector<std::string> ValueNames(const std::string& key);
