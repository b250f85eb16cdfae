#include "tests/support/TestRegistry.h"

#include <gtest/gtest.h>

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
