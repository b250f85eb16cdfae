#pragma once
// Writes the payload resources of one type into InstallFolder. Each file is
// written beside its destination under a temporary name and moved over it in
// one step, so a failed write never damages a plug-in the user already has.
#include <windows.h>

#include "InstallFolder.h"

// The callback for EnumResourceNamesA; lParam carries the resource type.
// Returns FALSE (stopping the type) for a resource that cannot be found, is
// empty or cannot be loaded, TRUE otherwise.
BOOL CALLBACK ExtractPayloadResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR lParam);
