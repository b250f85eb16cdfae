#include "VendorWalk.h"

#include <windows.h>

#include "../common/bounded.h"
#include "CandidateIntake.h"
#include "FolderValueRules.h"
#include "KeyPathStack.h"
#include "RegistryReaders.h"

namespace {

constexpr int kCandidateBufferCapacity = 400;

struct Hive {
  HKEY key;
  const char* name;  // both 18 characters, so the key path starts at column 21
};

// Examines every value of the key once, when the walk enters it.
void ExamineValues(const Hive& hive, char* keyPath, const char* hostWord) {
  char name[kRegistryTextCapacity];
  char data[kRegistryTextCapacity];
  for (;;) {
    const LONG status = EnumNextStringValue(hive.key, keyPath, name, data);
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

void WalkVendorTree(const char* root, const char* vendor, const char* hostWord) {
  static const Hive hives[] = {{HKEY_CURRENT_USER, "HKEY_CURRENT_USER "}, {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}};
  KeyPathStack stack;
  stack.Reset();
  for (const Hive& hive : hives) {
    char keyPath[kKeyPathCapacity] = "";
    if (!AppendWhole(keyPath, sizeof keyPath, root) || !AppendWhole(keyPath, sizeof keyPath, "\\") ||
        !AppendWhole(keyPath, sizeof keyPath, vendor))
      continue;
    int index = 0;
    ExamineValues(hive, keyPath, hostWord);
    for (;;) {
      char subkey[kRegistryTextCapacity];
      const LONG status = EnumSubkeyName(hive.key, keyPath, subkey, static_cast<DWORD>(index));
      if (status == ERROR_MORE_DATA) {  // a name longer than any the registry allows: pass it over
        ++index;
        continue;
      }
      if (status == ERROR_SUCCESS) {
        const PushResult pushed = stack.Push(keyPath, sizeof keyPath, subkey, index);
        if (pushed == PushResult::Pushed) {
          ExamineValues(hive, keyPath, hostWord);
          continue;
        }
        if (pushed == PushResult::TooLong) {  // not entered; its siblings still are
          ++index;
          continue;
        }
        // Too deep: this key counts as a leaf, and the walk goes back up.
      }
      const int parentIndex = stack.Pop(keyPath);
      if (parentIndex < 0) break;
      index = parentIndex + 1;
    }
  }
}
