#pragma once
// The fixed sequence of host scans that fills FolderCandidates, run once while
// the main dialog initialises. Its order is the drop-down's order: the
// maker's own key, Photoshop in the 64-bit view (64-bit Windows only),
// Photoshop, Corel, Jasc, Xara, then the Fireworks program folder and the
// folder of the program that opens PI3.Image documents.
#include <windows.h>

#include <cstddef>

// The folder of the program named by the default value of base\name in hive
// (a path or a quoted command line), with its trailing backslash, in out
// (capacity characters); null when there is none usable.
char* ReadAppFolder(HKEY hive, const char* base, const char* name, char* out, std::size_t capacity);

void DiscoverHostFolders();
