#include "RegistryReaders.h"

#include <cstring>

#include "../common/bounded.h"
#include "RegistryView.h"

DWORD ValueCursor = 0;

namespace {

// Closes the key on every way out of a reader.
class OpenKey {
 public:
  OpenKey(HKEY hive, const char* subkey) { status_ = OpenDiscoveryKey(hive, subkey, &key_); }
  ~OpenKey() {
    if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  LONG status() const { return status_; }
  HKEY key() const { return key_; }

 private:
  HKEY key_ = nullptr;
  LONG status_;
};

// Turns size bytes of REG_SZ data in raw (which has room for one byte more)
// into a terminated text in out (kRegistryTextCapacity bytes). The data need
// not carry its own terminator; a text without room for one does not fit.
LONG TerminateText(DWORD type, BYTE* raw, DWORD size, char* out) {
  out[0] = '\0';
  if (type != REG_SZ) return ERROR_SUCCESS;
  if (size > kRegistryTextCapacity) return ERROR_MORE_DATA;
  raw[size] = 0;
  return CopyWhole(out, kRegistryTextCapacity, reinterpret_cast<const char*>(raw)) ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

}  // namespace

REGSAM DiscoveryAccess() {
  if (Use64BitRegistryView) return KEY_READ | KEY_WOW64_64KEY;
#ifdef _WIN64
  return KEY_READ | KEY_WOW64_32KEY;
#else
  return KEY_READ;
#endif
}

LONG ReadStringValue(HKEY hive, const char* subkey, const char* name, char* out) {
  OpenKey key(hive, subkey);
  if (key.status() != ERROR_SUCCESS) return key.status();
  BYTE raw[kRegistryTextCapacity + 1];
  DWORD type = REG_SZ;
  DWORD size = kRegistryTextCapacity;
  LONG status = RegQueryValueExA(key.key(), name, nullptr, &type, raw, &size);
  if (status != ERROR_SUCCESS) {
    out[0] = '\0';
    return status;
  }
  return TerminateText(type, raw, size, out);
}

LONG OpenDiscoveryKey(HKEY parent, const char* subkey, HKEY* key) {
  *key = nullptr;
  LONG status = RegOpenKeyExA(parent, subkey, 0, DiscoveryAccess(), key);
  // ERROR_MORE_DATA means "this one value or name is too long, go on"; a key
  // that cannot be opened (Wine answers a path of more than 260 characters
  // that way) must end the key's reads instead.
  if (status == ERROR_MORE_DATA) status = ERROR_BAD_PATHNAME;
  if (status != ERROR_SUCCESS) *key = nullptr;
  return status;
}

LONG EnumNextStringValue(HKEY hive, const char* subkey, char* name, char* data) {
  name[0] = '\0';
  data[0] = '\0';
  OpenKey key(hive, subkey);
  if (key.status() != ERROR_SUCCESS) {
    ValueCursor = 0;
    return key.status();
  }
  return EnumNextStringValueOf(key.key(), name, data);
}

LONG EnumNextStringValueOf(HKEY key, char* name, char* data) {
  name[0] = '\0';
  data[0] = '\0';
  char nameRaw[kRegistryTextCapacity + 1];
  BYTE raw[kRegistryTextCapacity + 1];
  DWORD nameSize = kRegistryTextCapacity;  // characters, terminator included
  DWORD size = kRegistryTextCapacity;
  DWORD type = REG_SZ;
  LONG status = RegEnumValueA(key, ValueCursor, nameRaw, &nameSize, nullptr, &type, raw, &size);
  ++ValueCursor;
  if (status == ERROR_SUCCESS) {
    nameRaw[nameSize < kRegistryTextCapacity ? nameSize : kRegistryTextCapacity] = '\0';
    status = TerminateText(type, raw, size, data);
  }
  if (status == ERROR_SUCCESS && CopyWhole(name, kRegistryTextCapacity, nameRaw)) return ERROR_SUCCESS;
  if (status == ERROR_SUCCESS) status = ERROR_MORE_DATA;
  data[0] = '\0';
  if (status != ERROR_MORE_DATA) ValueCursor = 0;
  return status;
}

LONG EnumSubkeyName(HKEY hive, const char* subkey, char* name, DWORD index) {
  name[0] = '\0';
  OpenKey key(hive, subkey);
  if (key.status() != ERROR_SUCCESS) return key.status();
  return EnumSubkeyNameOf(key.key(), name, index);
}

LONG EnumSubkeyNameOf(HKEY key, char* name, DWORD index) {
  char raw[kRegistryTextCapacity + 1];
  DWORD size = kRegistryTextCapacity;
  LONG status = RegEnumKeyExA(key, index, raw, &size, nullptr, nullptr, nullptr, nullptr);
  name[0] = '\0';
  if (status != ERROR_SUCCESS) return status;
  raw[size < kRegistryTextCapacity ? size : kRegistryTextCapacity] = '\0';
  return CopyWhole(name, kRegistryTextCapacity, raw) ? ERROR_SUCCESS : ERROR_MORE_DATA;
}
