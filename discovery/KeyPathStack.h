#pragma once
// The walk's way back up a registry subtree: for every key entered below the
// start key, the parent's subkey index and the length of the parent's path.
#include <cstddef>

constexpr int kKeyPathStackSlots = 20;
constexpr int kKeyPathStackDepth = 19;  // the walk enters keys down to 19 levels below its start

enum class PushResult {
  Pushed,    // keyPath now names the subkey, index is 0
  TooDeep,   // 19 levels already entered: nothing changed
  TooLong,   // keyPath + "\" + name would not fit: nothing changed
};

struct KeyPathStack {
  struct Slot {
    int subkeyIndex;
    int pathLength;
  };
  int top = -1;
  Slot slots[kKeyPathStackSlots] = {};

  void Reset() { top = -1; }

  // Saves index and the current length of keyPath, appends "\" and name to
  // keyPath (capacity characters, terminator included) and sets index to 0.
  PushResult Push(char* keyPath, std::size_t capacity, const char* name, int& index);

  // Cuts keyPath back to the parent and returns the parent's subkey index;
  // -1 when the stack is empty (nothing changes).
  int Pop(char* keyPath);
};
