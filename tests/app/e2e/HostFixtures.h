#pragma once
// What the end-to-end tests set up in their own Wine prefix: host
// applications registered in the registry, their plug-in folders on disk,
// and the files the installer writes.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"

// Removes every host registration the tests make (the maker's key in both
// hives, Photoshop in both registry views).
void ClearHostRegistrations();

// A plug-in folder value under HKEY_CURRENT_USER\Software\Mirefold\<subkey>.
void RegisterMakerFolder(const char* subkey, const char* folder);

// A PluginPath value under HKEY_LOCAL_MACHINE\Software\Adobe\Photoshop\<version>, in the 64-bit
// view or in the 32-bit view (WOW6432Node).
void RegisterPhotoshop64(const char* version, const char* folder);
void RegisterPhotoshop32(const char* version, const char* folder);

// A symbolic link at link that points at target (which need not exist).
// Made by the system's own call where that makes one; Wine's call reports
// success without making anything, so there the host's "ln -s" makes it,
// through Wine's own way of starting a host program. False when neither can.
bool MakeSymbolicLink(const std::string& link, const std::string& target);
// Removes a link that MakeSymbolicLink made, not what it points at: through
// Wine, DeleteFile removes the target and cannot see a link to nothing, so
// there the host's "rm" removes it.
bool RemoveSymbolicLink(const std::string& link);
