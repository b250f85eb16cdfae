#include "discovery_fixture.h"

#include <gtest/gtest.h>

#include "discovery/FolderCandidates.h"
#include "discovery/RegistryReaders.h"
#include "discovery/RegistryView.h"
#include "discovery/TraceFile.h"

const char kTestRoot[] = "C:\\dtest";

void ClearDiscoveryRegistry() {
  static const char* const keys[] = {
      "Software\\Mirefold", "Software\\Adobe", "Software\\Corel", "Software\\Jasc", "Software\\Xara",
      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe", "Software\\Classes\\PI3.Image",
  };
  for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (REGSAM view : {kView64, kView32})
      for (const char* key : keys) DeleteRegistryTree(hive, view, key);
}

void DiscoveryEnvironment::Clean() {
  ResetFolderCandidates();
  Use64BitRegistryView = 0;
  ValueCursor = 0;
  SetCurrentDirectoryA("C:\\");
  ClearDiscoveryRegistry();
  DeleteFileA(kTraceFilePath);
  RemoveTree(kTestRoot);
}
