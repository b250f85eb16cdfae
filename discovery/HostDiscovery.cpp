#include "HostDiscovery.h"

#include "../common/bounded.h"
#include "../common/Wow64.h"
#include "CandidateIntake.h"
#include "CommandLineFolder.h"
#include "PathRules.h"
#include "RegistryReaders.h"
#include "RegistryView.h"
#include "VendorWalk.h"

namespace {

constexpr std::size_t kScratchCapacity = 400;

void AddAppFolder(HKEY hive, const char* base, const char* name, const char* subfolder, const char* foundAt) {
  char folder[kScratchCapacity];
  char candidate[kScratchCapacity];
  if (!ReadAppFolder(hive, base, name, folder, sizeof folder)) return;
  if (!JoinPath(candidate, sizeof candidate, subfolder, folder)) return;
  AddCandidate(candidate, sizeof candidate, foundAt);
}

}  // namespace

char* ReadAppFolder(HKEY hive, const char* base, const char* name, char* out, std::size_t capacity) {
  char keyPath[kScratchCapacity];
  char value[kScratchCapacity];
  if (!JoinPath(keyPath, sizeof keyPath, name, base)) return nullptr;
  if (ReadStringValue(hive, keyPath, "", value) != ERROR_SUCCESS) return nullptr;
  if (!FolderFromCommandLine(value)) return nullptr;
  if (!CopyWhole(out, capacity, value)) return nullptr;
  return out;
}

void DiscoverHostFolders() {
  Use64BitRegistryView = 0;
  WalkVendorTree("software", "mirefold", "");
  if (IsWow64()) {
    Use64BitRegistryView = 1;
    WalkVendorTree("software", "adobe", "photoshop");
  }
  Use64BitRegistryView = 0;
  WalkVendorTree("software", "adobe", "photoshop");
  WalkVendorTree("software", "corel", "paint");
  WalkVendorTree("software", "jasc", "paint");
  WalkVendorTree("software", "xara", "xarax");
  AddAppFolder(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", "fireworks.exe",
               "plug-ins", "appath");
  AddAppFolder(HKEY_CLASSES_ROOT, "PI3.Image", "shell\\open\\command", "plugin", "shell");
}
