#pragma once
// Bounded string copies. Every copy into a fixed buffer in this program goes
// through one of these, with the buffer's capacity (terminator included).
#include <cstddef>
#include <cstring>

// Copies src when it fits whole; otherwise leaves dst untouched and returns false.
inline bool CopyWhole(char* dst, std::size_t cap, const char* src) {
  std::size_t n = strnlen(src, cap);
  if (n >= cap) return false;
  std::memcpy(dst, src, n + 1);
  return true;
}

// Appends src when the result fits whole; otherwise leaves dst untouched and returns false.
inline bool AppendWhole(char* dst, std::size_t cap, const char* src) {
  std::size_t have = strnlen(dst, cap);
  if (have >= cap) return false;
  return CopyWhole(dst + have, cap - have, src);
}

// Copies at most cap - 1 characters and always terminates: for display texts,
// where a cut text is harmless.
inline void CopyCut(char* dst, std::size_t cap, const char* src) {
  if (cap == 0) return;
  std::size_t n = src ? strnlen(src, cap - 1) : 0;
  if (n) std::memcpy(dst, src, n);
  dst[n] = '\0';
}
