#pragma once
// Which builds of the plug-in a folder gets: kPayload32 holds the files for
// 32-bit hosts, kPayload64 those for 64-bit hosts.

#include "../payload/PayloadResourceTypes.h"

// Fills types with the resource types to write, in order, and returns how
// many (1 or 2). On 64-bit Windows a path containing "(64" gets the 64-bit
// build only, one containing "86)" the 32-bit build only, any other both
// (64-bit first); on 32-bit Windows only the 32-bit build.
int ChoosePayloadTypes(int isWow64, const char* folder, int types[2]);
