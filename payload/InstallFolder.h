#pragma once
// The folder the payload is written into: a global buffer that only the
// functions here change.

#include "../common/path_capacity.h"

constexpr int kInstallFolderCapacity = kPathCapacity;

// The destination folder, ending in a backslash; empty when none is chosen.
extern char InstallFolder[kInstallFolderCapacity];

// Makes folder the destination when it fits whole and returns true; empties
// InstallFolder and returns false when it does not (or is null).
bool SetInstallFolder(const char* folder);
