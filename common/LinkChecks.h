#pragma once
// What this program, running elevated, checks before it writes through a
// name that others could have prepared: that the name leads to a plain file
// or folder of its own and not, through a link, to somewhere else.
#include <windows.h>

// A file that only its own name points at: not a link, not a folder or a
// device, and no second name (hard link).
bool IsPlainSingleFile(HANDLE file);

// Whether the folder itself is a link (a symbolic link or a junction).
bool IsLinkedFolder(const char* folder);
