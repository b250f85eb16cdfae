#include "PresetKinds.h"

#include <cstdio>
#include <cstring>

namespace {
const PresetKind kKinds[] = {
    {"PresetsSketchesbin", 12, 64, "Software\\Mirefold\\QuillWorks", "Portrait"},
    {"PresetsBouquetsbin", 16, 128, "Software\\Mirefold\\Tessera", "Bouquet"},
    {"PresetsPatternsbin", 12, 128, "Software\\Mirefold\\Tessera", "Patterns"},
};
}  // namespace

const PresetKind* FindPresetKind(const char* decodedName) {
  for (const auto& kind : kKinds)
    if (std::strstr(decodedName, kind.marker)) return &kind;
  return nullptr;
}

unsigned long PresetBlockBytes(const PresetKind& kind) {
  return static_cast<unsigned long>(kind.recordCount) * static_cast<unsigned long>(kind.recordSize);
}

bool PresetBlockComplete(const PresetKind& kind, unsigned long long blockSize) {
  return blockSize >= PresetBlockBytes(kind);
}

bool FormatPresetValueName(char* out, int cap, const PresetKind& kind, int n) {
  int written = std::snprintf(out, static_cast<std::size_t>(cap), "%s%02d", kind.valuePrefix, n);
  return written > 0 && written < cap;
}
