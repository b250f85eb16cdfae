#include "FolderValueRules.h"

#include <cstring>

#include "../common/bounded.h"
#include "PathRules.h"

namespace {

bool StartsWithDrive(const char* text) { return text[0] != '\0' && text[1] == ':'; }

}  // namespace

bool IsPluginFolderValue(char* keyPath, char* name, char* data, const char* hostWord) {
  if (data[0] == '\0') return false;
  StripToFirstLetter(data);
  if (!StartsWithDrive(data)) return false;
  LowerAsciiString(keyPath);
  if (!std::strstr(keyPath, hostWord)) return false;
  if (std::strstr(keyPath, "plug")) return true;
  LowerAsciiString(name);
  return std::strstr(name, "plug") || std::strstr(name, "directory1") || std::strstr(name, "directory2") ||
         std::strstr(name, "directory3");
}

bool FormatFoundAt(char* out, std::size_t capacity, const char* hiveName, const char* keyPath, const char* name) {
  if (capacity == 0) return false;
  out[0] = '\0';
  const char* pieces[] = {hiveName, "  ", keyPath, "  ", name, "  "};
  for (const char* piece : pieces)
    if (!AppendWhole(out, capacity, piece)) {
      out[0] = '\0';
      return false;
    }
  return true;
}

bool FolderFromCommandLine(char* text) {
  CutAfterLastChar(text, '\\');
  StripToFirstLetter(text);
  return StartsWithDrive(text);
}
