#include "VendorWalk.h"

#include <windows.h>

#include "../common/bounded.h"
#include "CandidateIntake.h"
#include "FoundAt.h"
#include "KeyPathStack.h"
#include "PluginFolderValue.h"
#include "RegistryReaders.h"

namespace {

constexpr int kCandidateBufferCapacity = 400;

struct Hive {
  HKEY key;
  const char* name;  // both 18 characters, so the key path starts at column 21
};

// Examines every value of the key once, when the walk enters it.
void ExamineValues(const Hive& hive, HKEY key, char* keyPath, const char* hostWord) {
  char name[kRegistryTextCapacity];
  char data[kRegistryTextCapacity];
  ValueCursor = 0;
  for (;;) {
    const LONG status = EnumNextStringValueOf(key, name, data);
    if (status == ERROR_MORE_DATA) continue;  // one value too long for the buffers: the next may still match
    if (status != ERROR_SUCCESS) return;
    if (!IsPluginFolderValue(keyPath, name, data, hostWord)) continue;
    char foundAt[kFoundAtCapacity];
    char folder[kCandidateBufferCapacity];
    if (!FormatFoundAt(foundAt, sizeof foundAt, hive.name, keyPath, name)) continue;
    static_assert(sizeof folder >= sizeof data, "a value's data always fits the candidate buffer");
    if (!CopyWhole(folder, sizeof data, data)) continue;
    AddCandidate(folder, sizeof folder, foundAt);
  }
}

}  // namespace

// The keys along the walk's current path stay open, one per level: each key
// is opened once, when the walk enters it, and closed when it leaves it.
// Reopening a key for every single read cost about nine times the read.
void WalkVendorTree(const char* root, const char* vendor, const char* hostWord) {
  static const Hive hives[] = {{HKEY_CURRENT_USER, "HKEY_CURRENT_USER "}, {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}};
  KeyPathStack stack;
  stack.Reset();
  for (const Hive& hive : hives) {
    char keyPath[kKeyPathCapacity] = "";
    if (!AppendWhole(keyPath, sizeof keyPath, root) || !AppendWhole(keyPath, sizeof keyPath, "\\") ||
        !AppendWhole(keyPath, sizeof keyPath, vendor))
      continue;
    HKEY open[kKeyPathStackDepth + 1];  // open[d]: the key d levels below root\vendor
    int depth = 0;
    if (OpenDiscoveryKey(hive.key, keyPath, &open[0]) != ERROR_SUCCESS) continue;
    int index = 0;
    ExamineValues(hive, open[0], keyPath, hostWord);
    for (;;) {
      char subkey[kRegistryTextCapacity];
      const LONG status = EnumSubkeyNameOf(open[depth], subkey, static_cast<DWORD>(index));
      if (status == ERROR_MORE_DATA) {  // a name longer than any the registry allows: pass it over
        ++index;
        continue;
      }
      if (status == ERROR_SUCCESS) {
        const int parentIndex = index;
        const PushResult pushed = stack.Push(keyPath, sizeof keyPath, subkey, index);
        if (pushed == PushResult::Pushed) {
          HKEY child = nullptr;
          if (OpenDiscoveryKey(open[depth], subkey, &child) == ERROR_SUCCESS) {
            open[++depth] = child;
            ExamineValues(hive, child, keyPath, hostWord);
            continue;
          }
          // A key that cannot be opened is passed over with everything below it.
          stack.Pop(keyPath);
          index = parentIndex + 1;
          continue;
        }
        if (pushed == PushResult::TooLong) {  // not entered; its siblings still are
          ++index;
          continue;
        }
        // Too deep: this key counts as a leaf, and the walk goes back up.
      }
      RegCloseKey(open[depth]);
      const int parentIndex = stack.Pop(keyPath);
      if (parentIndex < 0) break;
      --depth;
      index = parentIndex + 1;
    }
  }
}
