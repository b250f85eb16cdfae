#include "SettingsRegistry.h"

#include <windows.h>

namespace relief {

namespace {

struct Key {
  HKEY h = nullptr;
  ~Key() {
    if (h) RegCloseKey(h);
  }
};

}  // namespace

BlockRead LoadFromRegistry(ReliefSettings* settings) {
  Key key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key.h) != ERROR_SUCCESS)
    return BlockRead::kEmpty;
  // Room for a longer block of a later version; the reader checks its length.
  BYTE block[256];
  DWORD type = 0;
  DWORD size = sizeof block;
  const LONG status = RegQueryValueExA(key.h, kSettingsValue, nullptr, &type, block, &size);
  if (status == ERROR_FILE_NOT_FOUND) return BlockRead::kEmpty;
  if (status != ERROR_SUCCESS || type != REG_BINARY || size > sizeof block) return BlockRead::kDamaged;
  return ReadSettingsBlock(block, size, settings);
}

bool StoreInRegistry(const ReliefSettings& settings) {
  uint8_t block[kSettingsBlockBytes];
  if (WriteSettingsBlock(settings, block, sizeof block) != sizeof block) return false;
  Key key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key.h, nullptr) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueExA(key.h, kSettingsValue, 0, REG_BINARY, block, sizeof block) == ERROR_SUCCESS;
}

}  // namespace relief
