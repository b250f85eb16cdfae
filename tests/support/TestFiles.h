#pragma once
// Files and folders as the Windows tests make them in the test prefix and
// read them back through the system.
#include <windows.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Creates every level of folder (ending in a backslash or not).
bool MakeFolders(const std::string& folder);
// Deletes folder and everything in it, read-only files too; true when it is gone.
bool RemoveTree(const std::string& folder);
// Deletes the files (not the folders) in folder, read-only ones too.
void EmptyFolder(const std::string& folder);

bool Exists(const std::string& path);
bool ReadFileBytes(const std::string& path, Bytes* bytes);
// The whole file, or nothing when it cannot be read.
Bytes ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const Bytes& bytes);
bool WriteFileText(const std::string& path, const std::string& text);
// The file as text, or "<missing>" when it cannot be read.
std::string ReadFileText(const std::string& path);

// The names of the files (not folders) in folder that match pattern.
std::vector<std::string> FilesIn(const std::string& folder, const char* pattern = "*");
