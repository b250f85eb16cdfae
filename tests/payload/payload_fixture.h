#pragma once
// Helpers shared by the payload tests: fresh folders in the test prefix,
// files and resources read back through the system.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

// A new empty folder C:\payload-tests\<name>\ (path ends in a backslash).
std::string FreshFolder(const char* name);
Bytes ResourceBytes(int type, const char* name);
// Files in a folder whose names end with ".tmp".
int CountTemporaryFiles(const std::string& folder);

// Sets InstallFolder, clears the outcomes and the skip list, and writes
// every resource of one type, as the install command does.
BOOL InstallType(const std::string& folder, int type);
