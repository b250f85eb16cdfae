#include "HostFixtures.h"

#include <cstdio>
#include <cstring>

namespace {

void DeleteTree(HKEY hive, const char* parent, const char* name, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(hive, parent, 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeA(key, name);
  RegDeleteKeyExA(key, name, view, 0);
  RegCloseKey(key);
}

void SetString(HKEY hive, const std::string& path, const char* name, const char* data, REGSAM view) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), static_cast<DWORD>(std::strlen(data) + 1));
  RegCloseKey(key);
}

}  // namespace

void ClearHostRegistrations() {
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    DeleteTree(HKEY_CURRENT_USER, "Software", "Mirefold", view);
    DeleteTree(HKEY_LOCAL_MACHINE, "Software", "Mirefold", view);
    DeleteTree(HKEY_CURRENT_USER, "Software\\Adobe", "Photoshop", view);
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Adobe", "Photoshop", view);
  }
}

void RegisterMakerFolder(const char* subkey, const char* folder) {
  SetString(HKEY_CURRENT_USER, std::string("Software\\Mirefold\\") + subkey, "PluginFolder", folder, 0);
}

void RegisterPhotoshop64(const char* version, const char* folder) {
  SetString(HKEY_LOCAL_MACHINE, std::string("Software\\Adobe\\Photoshop\\") + version, "PluginPath", folder,
            KEY_WOW64_64KEY);
}

void RegisterPhotoshop32(const char* version, const char* folder) {
  SetString(HKEY_LOCAL_MACHINE, std::string("Software\\Adobe\\Photoshop\\") + version, "PluginPath", folder,
            KEY_WOW64_32KEY);
}

bool ReadBinaryValue(const std::string& key, const char* name, Bytes* bytes) {
  HKEY open = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS) return false;
  bytes->assign(65536, 0xA5);
  DWORD type = REG_NONE, size = static_cast<DWORD>(bytes->size());
  const LONG status = RegQueryValueExA(open, name, nullptr, &type, bytes->data(), &size);
  RegCloseKey(open);
  if (status != ERROR_SUCCESS || type != REG_BINARY || size > bytes->size()) return false;
  bytes->resize(size);
  return true;
}

std::vector<std::string> ValueNames(const std::string& key) {
  std::vector<std::string> names;
  HKEY open = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumValueA(open, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(open);
  return names;
}

bool MakeFolders(const std::string& folder) {
  for (std::size_t at = 3; at <= folder.size(); ++at) {
    if (at == folder.size() || folder[at] == '\\' || folder[at] == '/') {
      const std::string level = folder.substr(0, at);
      if (!CreateDirectoryA(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
  }
  return true;
}

bool RemoveTree(const std::string& folder) {
  std::string base = folder;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
      const std::string path = base + "\\" + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(base.c_str());
  return !Exists(base);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadFileBytes(const std::string& path, Bytes* bytes) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return false;
  bytes->clear();
  unsigned char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes->insert(bytes->end(), chunk, chunk + n);
  std::fclose(in);
  return true;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && ok;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::string base = folder;
  if (!base.empty() && base.back() != '\\') base += '\\';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}
