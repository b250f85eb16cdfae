#pragma once
// What the end-to-end tests set up in their own Wine prefix: host
// applications registered in the registry, their plug-in folders on disk,
// and the files the installer writes.
#include <windows.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Removes every host registration the tests make (the maker's key in both
// hives, Photoshop in both registry views).
void ClearHostRegistrations();

// A plug-in folder value under HKEY_CURRENT_USER\Software\Mirefold\<subkey>.
void RegisterMakerFolder(const char* subkey, const char* folder);

// A PluginPath value under HKEY_LOCAL_MACHINE\Software\Adobe\Photoshop\<version>, in the 64-bit
// view or in the 32-bit view (WOW6432Node).
void RegisterPhotoshop64(const char* version, const char* folder);
void RegisterPhotoshop32(const char* version, const char* folder);

// A REG_BINARY value below HKEY_CURRENT_USER; false when the key or the value
// is missing, has another type or more than 64 KB.
bool ReadBinaryValue(const std::string& key, const char* name, Bytes* bytes);
// The names of the values of HKEY_CURRENT_USER\key; none when it is missing.
std::vector<std::string> ValueNames(const std::string& key);

// Creates every level of folder (ending in a backslash or not).
bool MakeFolders(const std::string& folder);
// Deletes folder and everything in it; true when it is gone.
bool RemoveTree(const std::string& folder);

bool Exists(const std::string& path);
bool ReadFileBytes(const std::string& path, Bytes* bytes);
bool WriteFileBytes(const std::string& path, const Bytes& bytes);
// The names of the files (not folders) in folder.
std::vector<std::string> FilesIn(const std::string& folder);
