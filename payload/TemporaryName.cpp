#include "TemporaryName.h"

#include <cstring>

bool ComposeTemporaryName(char* out, std::size_t capacity, const char* destination, std::uint64_t random) {
  const std::size_t length = strnlen(destination, capacity);
  if (length + kTemporarySuffixLength >= capacity) return false;
  std::memcpy(out, destination, length);
  char* p = out + length;
  *p++ = '.';
  static const char kDigits[] = "0123456789abcdef";
  for (int shift = 60; shift >= 0; shift -= 4) *p++ = kDigits[(random >> shift) & 0xF];
  std::memcpy(p, ".tmp", 5);
  return true;
}
