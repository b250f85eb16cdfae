#pragma once
// Registry keys, folders and the trace file that the discovery tests build in
// the test prefix, and take away again.
#include <windows.h>

#include <string>

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
void DeleteRegistryTree(HKEY hive, REGSAM view, const std::string& key);

// Every key the discovery reads, in both hives and both views, is removed.
void ClearDiscoveryRegistry();

// Creates a folder and all its parents.
void MakeFolder(const std::string& path);
// Removes a folder with everything in it.
void RemoveFolder(const std::string& path);

// The root of the test folders, C:\dtest, in the test prefix's drive_c.
extern const char kTestRoot[];

std::string ReadWholeFile(const char* path);
void WriteWholeFile(const char* path, const std::string& bytes);
bool FileExists(const char* path);

// Resets the candidate list and the view flag, clears the registry, removes
// the trace file and the test folders; the same again at the end.
class DiscoveryEnvironment {
 public:
  static void Clean();
};
