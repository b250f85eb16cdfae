#pragma once
// Helpers shared by the payload tests: fresh folders in the test prefix,
// files and resources read back through the system.
#include <windows.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A new empty folder C:\payload-tests\<name>\ (path ends in a backslash).
std::string FreshFolder(const char* name);
bool FileExists(const std::string& path);
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
Bytes ResourceBytes(int type, const char* name);
// Files in a folder whose names end with ".tmp".
int CountTemporaryFiles(const std::string& folder);

// Sets InstallFolder, clears the outcomes and the skip list, and writes
// every resource of one type, as the install command does.
BOOL InstallType(const std::string& folder, int type);
