#pragma once
// Preset blocks go into the registry under HKEY_CURRENT_USER, one REG_BINARY
// value per record.
#include "PresetKinds.h"

// Stores bytes as a REG_BINARY value; returns the registry status (0 on success).
long WriteRegistryValue(const char* subkey, const char* valueName, int size, const void* bytes);

// Writes every record of a block and records each outcome. A block shorter
// than its records is refused whole: half a set of presets is not written.
void WritePresetBlock(const PresetKind& kind, const void* block, unsigned long blockSize);
