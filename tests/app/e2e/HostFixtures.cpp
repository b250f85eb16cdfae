#include "HostFixtures.h"

void ClearHostRegistrations() {
  for (REGSAM view : {kView32, kView64}) {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      DeleteRegistryTree(hive, view, "Software\\Mirefold");
      DeleteRegistryTree(hive, view, "Software\\Adobe\\Photoshop");
    }
  }
}

void RegisterMakerFolder(const char* subkey, const char* folder) {
  SetRegistryString(HKEY_CURRENT_USER, 0, std::string("Software\\Mirefold\\") + subkey, "PluginFolder", folder);
}

void RegisterPhotoshop64(const char* version, const char* folder) {
  SetRegistryString(HKEY_LOCAL_MACHINE, kView64, std::string("Software\\Adobe\\Photoshop\\") + version, "PluginPath",
                    folder);
}
