#include "InstallFolder.h"

#include "../common/bounded.h"

char InstallFolder[kInstallFolderCapacity];

bool SetInstallFolder(const char* folder) {
  if (folder && CopyWhole(InstallFolder, kInstallFolderCapacity, folder)) return true;
  InstallFolder[0] = '\0';
  return false;
}
