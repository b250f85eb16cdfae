#include "payload_fixture.h"

#include <cstring>

#include "common/bounded.h"
#include "payload/PayloadOutcome.h"
#include "payload/PayloadWriter.h"
#include "payload/SkipList.h"

std::string FreshFolder(const char* name) {
  CreateDirectoryA("C:\\payload-tests", nullptr);
  std::string folder = std::string("C:\\payload-tests\\") + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  EmptyFolder(folder);
  return folder;
}

Bytes ResourceBytes(int type, const char* name) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, name, MAKEINTRESOURCEA(type));
  if (!found) return {};
  const unsigned char* p = static_cast<const unsigned char*>(LockResource(LoadResource(self, found)));
  return Bytes(p, p + SizeofResource(self, found));
}

int CountTemporaryFiles(const std::string& folder) { return static_cast<int>(FilesIn(folder, "*.tmp").size()); }

BOOL InstallType(const std::string& folder, int type) {
  SetInstallFolder(folder.c_str());
  ClearOutcomes();
  return EnumResourceNamesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(type), ExtractPayloadResource, type);
}
