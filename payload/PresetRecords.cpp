#include "PresetRecords.h"

#include <windows.h>

#include "PayloadOutcome.h"

long WriteRegistryValue(const char* subkey, const char* valueName, int size, const void* bytes) {
  HKEY key = nullptr;
  char emptyClass[] = "";
  LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExA(key, valueName, 0, REG_BINARY, static_cast<const BYTE*>(bytes),
                          static_cast<DWORD>(size));
  RegCloseKey(key);
  return status;
}

void WritePresetBlock(const PresetKind& kind, const void* block, unsigned long blockSize) {
  if (!PresetBlockComplete(kind, blockSize)) {
    RecordOutcome(OutcomeKind::Failed, kind.marker, ERROR_INVALID_DATA, "preset block is shorter than its records");
    return;
  }
  const BYTE* bytes = static_cast<const BYTE*>(block);
  for (int n = 1; n <= kind.recordCount; ++n) {
    char valueName[64];
    FormatPresetValueName(valueName, sizeof valueName, kind, n);
    long status = WriteRegistryValue(kind.key, valueName, kind.recordSize, bytes + (n - 1) * kind.recordSize);
    if (status == ERROR_SUCCESS)
      RecordOutcome(OutcomeKind::Written, valueName, 0, "");
    else
      RecordOutcome(OutcomeKind::Failed, valueName, static_cast<std::uint32_t>(status), "registry value not written");
  }
}
