#include "discovery_fixture.h"

#include <gtest/gtest.h>

#include "discovery/FolderCandidates.h"
#include "discovery/RegistryReaders.h"
#include "discovery/RegistryView.h"
#include "discovery/TraceFile.h"

const char kTestRoot[] = "C:\\dtest";

namespace {

// Creates the key one name at a time, each relative to its parent, so that
// paths longer than the ANSI calls take in one piece can be built too.
HKEY CreateKeyPath(HKEY hive, REGSAM view, const std::string& key) {
  HKEY current = hive;
  std::string::size_type begin = 0;
  while (begin <= key.size()) {
    std::string::size_type end = key.find('\\', begin);
    if (end == std::string::npos) end = key.size();
    const std::string name = key.substr(begin, end - begin);
    HKEY next = nullptr;
    const LONG status =
        RegCreateKeyExA(current, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &next, nullptr);
    if (current != hive) RegCloseKey(current);
    if (status != ERROR_SUCCESS) {
      ADD_FAILURE() << "creating " << key << ": key name of " << name.size() << " characters, status " << status;
      return nullptr;
    }
    current = next;
    begin = end + 1;
  }
  return current;
}

}  // namespace

void SetRegistryValue(HKEY hive, REGSAM view, const std::string& key, const std::string& name, DWORD type,
                      const void* bytes, DWORD size) {
  HKEY opened = CreateKeyPath(hive, view, key);
  if (!opened) return;
  const LONG status = RegSetValueExA(opened, name.c_str(), 0, type, static_cast<const BYTE*>(bytes), size);
  RegCloseKey(opened);
  ASSERT_EQ(ERROR_SUCCESS, status) << "writing " << key << " / " << name;
}

void SetRegistryString(HKEY hive, REGSAM view, const std::string& key, const std::string& name,
                       const std::string& value) {
  SetRegistryValue(hive, view, key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void CreateRegistryKey(HKEY hive, REGSAM view, const std::string& key) {
  HKEY opened = CreateKeyPath(hive, view, key);
  if (opened) RegCloseKey(opened);
}

std::size_t LongestKeyName(HKEY hive, const std::string& parent) {
  HKEY opened = CreateKeyPath(hive, kView32, parent);
  if (!opened) return 0;
  std::size_t found = 0;
  for (std::size_t length = 255; length > 0 && !found; --length) {
    HKEY child = nullptr;
    const std::string name(length, 'q');
    if (RegCreateKeyExA(opened, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView32, nullptr, &child, nullptr) ==
        ERROR_SUCCESS) {
      RegCloseKey(child);
      RegDeleteKeyExA(opened, name.c_str(), kView32, 0);
      found = length;
    }
  }
  RegCloseKey(opened);
  return found;
}

void DeleteRegistryTree(HKEY hive, REGSAM view, const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_ALL_ACCESS | view, &opened) != ERROR_SUCCESS) return;
  RegDeleteTreeA(opened, nullptr);
  RegCloseKey(opened);
  // The emptied key itself, in the same view.
  const std::string::size_type slash = key.rfind('\\');
  HKEY parent = nullptr;
  const std::string parentPath = slash == std::string::npos ? std::string() : key.substr(0, slash);
  const std::string leaf = slash == std::string::npos ? key : key.substr(slash + 1);
  if (RegOpenKeyExA(hive, parentPath.empty() ? nullptr : parentPath.c_str(), 0, KEY_ALL_ACCESS | view, &parent) ==
      ERROR_SUCCESS) {
    RegDeleteKeyExA(parent, leaf.c_str(), view, 0);
    RegCloseKey(parent);
  }
}

void ClearDiscoveryRegistry() {
  static const char* const keys[] = {
      "Software\\Mirefold", "Software\\Adobe", "Software\\Corel", "Software\\Jasc", "Software\\Xara",
      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe", "Software\\Classes\\PI3.Image",
  };
  for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (REGSAM view : {kView64, kView32})
      for (const char* key : keys) DeleteRegistryTree(hive, view, key);
}

void MakeFolder(const std::string& path) {
  for (std::string::size_type i = 3; i <= path.size(); ++i)
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << "creating folder " << path;
}

void RemoveFolder(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveFolder(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

std::string ReadWholeFile(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char chunk[4096];
  DWORD done = 0;
  while (ReadFile(file, chunk, sizeof chunk, &done, nullptr) && done > 0) bytes.append(chunk, done);
  CloseHandle(file);
  return bytes;
}

void WriteWholeFile(const char* path, const std::string& bytes) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file) << "creating " << path;
  DWORD done = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(file);
  ASSERT_EQ(bytes.size(), done);
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void DiscoveryEnvironment::Clean() {
  ResetFolderCandidates();
  Use64BitRegistryView = 0;
  ValueCursor = 0;
  SetCurrentDirectoryA("C:\\");
  ClearDiscoveryRegistry();
  DeleteFileA(kTraceFilePath);
  RemoveFolder(kTestRoot);
}
