#include "KeyPathStack.h"

#include <cstring>

#include "../common/bounded.h"

PushResult KeyPathStack::Push(char* keyPath, std::size_t capacity, const char* name, int& index) {
  if (top + 1 >= kKeyPathStackDepth) return PushResult::TooDeep;
  const std::size_t length = strnlen(keyPath, capacity);
  if (length >= capacity) return PushResult::TooLong;
  const std::size_t nameLength = std::strlen(name);
  if (length + 1 + nameLength >= capacity) return PushResult::TooLong;
  if (!AppendWhole(keyPath, capacity, "\\") || !AppendWhole(keyPath, capacity, name)) {
    keyPath[length] = '\0';
    return PushResult::TooLong;
  }
  ++top;
  slots[top].subkeyIndex = index;
  slots[top].pathLength = static_cast<int>(length);
  index = 0;
  return PushResult::Pushed;
}

int KeyPathStack::Pop(char* keyPath) {
  if (top < 0) return -1;
  keyPath[slots[top].pathLength] = '\0';
  return slots[top--].subkeyIndex;
}
