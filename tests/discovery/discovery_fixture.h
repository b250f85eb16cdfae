#pragma once
// Registry keys, folders and the trace file that the discovery tests build in
// the test prefix, and take away again.
#include <windows.h>

#include <string>

#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"

// Every key the discovery reads, in both hives and both views, is removed.
void ClearDiscoveryRegistry();

// The root of the test folders, C:\dtest, in the test prefix's drive_c.
extern const char kTestRoot[];

// Resets the candidate list and the view flag, clears the registry, removes
// the trace file and the test folders; the same again at the end.
class DiscoveryEnvironment {
 public:
  static void Clean();
};
