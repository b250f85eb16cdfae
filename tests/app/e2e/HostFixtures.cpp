#include "HostFixtures.h"

void ClearHostRegistrations() {
  for (REGSAM view : {kView32, kView64}) {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      DeleteRegistryTree(hive, view, "Software\\Mirefold");
      DeleteRegistryTree(hive, view, "Software\\Adobe\\Photoshop");
    }
  }
}

void RegisterMakerFolder(const char* subkey, const char* folder) {
  SetRegistryString(HKEY_CURRENT_USER, 0, std::string("Software\\Mirefold\\") + subkey, "PluginFolder", folder);
}

void RegisterPhotoshop64(const char* version, const char* folder) {
  SetRegistryString(HKEY_LOCAL_MACHINE, kView64, std::string("Software\\Adobe\\Photoshop\\") + version, "PluginPath",
                    folder);
}

void RegisterPhotoshop32(const char* version, const char* folder) {
  SetRegistryString(HKEY_LOCAL_MACHINE, kView32, std::string("Software\\Adobe\\Photoshop\\") + version, "PluginPath",
                    folder);
}

namespace {

// Wine's exports for starting a host program and for the host's name of a
// file; null elsewhere.
using UnixSpawnFn = LONG(__cdecl*)(char* const argv[], int wait);
using UnixFileNameFn = char*(__cdecl*)(LPCWSTR dosName);

std::string UnixFileName(UnixFileNameFn unixName, const std::string& path) {
  wchar_t wide[MAX_PATH] = L"";
  if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return "";
  char* name = unixName(wide);
  if (!name) return "";
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

bool IsLinkAt(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  // Wine shows a link as what it points at; the folder listing still has the name.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// Runs a host program on host names of the given paths ("ln -s", "rm -f"):
// true when it succeeds. False outside Wine.
bool RunOnHost(const char* program, const char* option, const std::vector<std::string>& paths) {
  auto spawn = reinterpret_cast<UnixSpawnFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
  auto unixName = reinterpret_cast<UnixFileNameFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!spawn || !unixName) return false;
  std::vector<std::string> args = {program, option};
  for (const std::string& path : paths) {
    args.push_back(UnixFileName(unixName, path));
    if (args.back().empty()) return false;
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  return spawn(argv.data(), 1) == 0;
}

}  // namespace

bool MakeSymbolicLink(const std::string& link, const std::string& target) {
  if (CreateSymbolicLinkA(link.c_str(), target.c_str(), 0) && IsLinkAt(link)) return true;
  // ln reports its own failure; a link to nothing is not visible through Wine.
  return RunOnHost("/bin/ln", "-s", {target, link});
}

bool RemoveSymbolicLink(const std::string& link) {
  // Through Wine, DeleteFile on a link removes what it points at.
  return RunOnHost("/bin/rm", "-f", {link}) || DeleteFileA(link.c_str());
}
