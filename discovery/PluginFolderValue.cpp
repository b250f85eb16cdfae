#include "PluginFolderValue.h"

#include <cstring>

#include "PathRules.h"

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
