// Times the host discovery over synthetic vendor subtrees of a given number
// of keys (about three values each, one key in ten holding a plug-in
// folder), in the 32-bit view of HKEY_LOCAL_MACHINE of the prefix it runs
// in, and prints keys per second. Also times one key open and close against
// one value read on an open key, which tells whether reopening keys for
// every read dominates. Removes everything it wrote.
//   discovery_bench [keys...]     (default: 100 1000 10000)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "discovery/FolderCandidates.h"
#include "discovery/HostDiscovery.h"

namespace {

const REGSAM kView = KEY_WOW64_32KEY;
const char* const kVendors[] = {"Software\\Mirefold", "Software\\Adobe\\Photoshop", "Software\\Corel\\PaintShop",
                                "Software\\Jasc\\Paint Shop Pro", "Software\\Xara\\XaraX"};
const char* const kRoots[] = {"Software\\Mirefold", "Software\\Adobe", "Software\\Corel", "Software\\Jasc",
                              "Software\\Xara"};
const char kFolderRoot[] = "C:\\dbench";

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HKEY Create(HKEY parent, const char* name) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot create key %s\n", name);
    std::exit(1);
  }
  return key;
}

void SetString(HKEY key, const char* name, const std::string& value) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
}

void Clear() {
  for (const char* root : kRoots) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, root, 0, KEY_ALL_ACCESS | kView, &key) != ERROR_SUCCESS) continue;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | kView, &software) == ERROR_SUCCESS) {
      RegDeleteKeyExA(software, root + 9, kView, 0);
      RegCloseKey(software);
    }
  }
}

// Fills one subtree with `count` keys, ten children per key, breadth first.
int Fill(HKEY top, int count, int& serial) {
  std::vector<HKEY> level = {top};
  int made = 0;
  while (made < count) {
    std::vector<HKEY> next;
    for (HKEY parent : level) {
      for (int child = 0; child < 10 && made < count; ++child, ++made, ++serial) {
        char name[32];
        wsprintfA(name, "k%05d", serial);
        HKEY key = Create(parent, name);
        SetString(key, "Version", "1.0");
        SetString(key, "InstallDate", "2020-01-01");
        if (serial % 10 == 0)
          SetString(key, "PluginPath", std::string(kFolderRoot) + "\\host" + std::to_string(serial / 10 % 5) + "\\Plug-ins");
        else
          SetString(key, "ApplicationPath", "C:\\Program Files\\Host\\");
        next.push_back(key);
      }
      if (made >= count) break;
    }
    for (HKEY key : level)
      if (key != top) RegCloseKey(key);
    level = next;
    if (level.empty()) break;
  }
  for (HKEY key : level) RegCloseKey(key);
  return made;
}

void MicroCosts() {
  const int rounds = 20000;
  const char* path = "Software\\Mirefold\\k00000";
  double start = Seconds();
  for (int i = 0; i < rounds; ++i) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | kView, &key) == ERROR_SUCCESS) RegCloseKey(key);
  }
  const double openClose = (Seconds() - start) / rounds;
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | kView, &key);
  start = Seconds();
  for (int i = 0; i < rounds; ++i) {
    char name[256], data[256];
    DWORD nameSize = sizeof name, size = sizeof data, type = 0;
    RegEnumValueA(key, i % 3, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  }
  const double enumValue = (Seconds() - start) / rounds;
  RegCloseKey(key);
  std::printf("one key open+close: %.2f us; one value read on an open key: %.2f us\n", openClose * 1e6, enumValue * 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100, 1000, 10000};
  for (int h = 0; h < 5; ++h) {
    const std::string folder = std::string(kFolderRoot) + "\\host" + std::to_string(h);
    CreateDirectoryA(kFolderRoot, nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Plug-ins").c_str(), nullptr);
  }
  std::printf("%8s %10s %12s %12s %10s\n", "keys", "fill s", "discover s", "keys/s", "found");
  for (int size : sizes) {
    Clear();
    const double fillStart = Seconds();
    int serial = 0, made = 0;
    for (int v = 0; v < 5; ++v) {
      HKEY top = Create(HKEY_LOCAL_MACHINE, kVendors[v]);
      made += Fill(top, size / 5 + (v < size % 5 ? 1 : 0), serial);
      RegCloseKey(top);
    }
    const double fill = Seconds() - fillStart;
    double best = 1e9;
    int found = 0;
    for (int run = 0; run < 3; ++run) {
      ResetFolderCandidates();
      const double start = Seconds();
      DiscoverHostFolders();
      const double took = Seconds() - start;
      if (took < best) best = took;
      found = 0;
      while (found < kFolderCandidateCount && FolderCandidates[found].Path[0]) ++found;
    }
    std::printf("%8d %10.2f %12.3f %12.0f %10d\n", made, fill, best, made / best, found);
    if (size == sizes.back()) MicroCosts();
  }
  Clear();
  for (int h = 0; h < 5; ++h) {
    const std::string folder = std::string(kFolderRoot) + "\\host" + std::to_string(h);
    RemoveDirectoryA((folder + "\\Plug-ins").c_str());
    RemoveDirectoryA(folder.c_str());
  }
  RemoveDirectoryA(kFolderRoot);
  return 0;
}
