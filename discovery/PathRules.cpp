#include "PathRules.h"

#include <cstring>

#include "../common/bounded.h"
#include "../common/chars.h"

void LowerAsciiString(char* text) {
  for (char* p = text; *p; ++p) *p = LowerAscii(*p);
}

void TitleCasePath(char* path) {
  LowerAsciiString(path);
  if (path[0] == '\0') return;
  path[0] = UpperChar(path[0]);
  const std::size_t length = std::strlen(path);
  for (std::size_t i = 0; i + 1 < length; ++i) {
    const signed char next = static_cast<signed char>(path[i + 1]);
    if (!IsAlphaChar(path[i]) && next >= 'A' && next <= 'z') path[i + 1] = UpperChar(path[i + 1]);
  }
}

char* EnsureTrailingBackslash(char* path, std::size_t capacity) {
  const std::size_t length = strnlen(path, capacity);
  if (length == 0 || length >= capacity) return nullptr;
  if (path[length - 1] == '\\') return path;
  if (!AppendWhole(path, capacity, "\\")) return nullptr;
  return path;
}

char* StripToFirstLetter(char* text) {
  if (text[0] == '\0' || IsAlphaChar(text[0])) return text;
  // Moved down in place: no working copy, so no length limit and no cut.
  std::size_t first = 1;
  while (text[first] != '\0' && !IsAlphaChar(text[first])) ++first;
  std::memmove(text, text + first, std::strlen(text + first) + 1);
  return text;
}

char* CutAfterLastChar(char* text, char ch) {
  const std::size_t length = std::strlen(text);
  if (length < 3) return text;
  for (std::size_t i = length - 2; i >= 1; --i) {
    if (text[i] == ch) {
      text[i + 1] = '\0';
      break;
    }
  }
  return text;
}

char* JoinPath(char* destination, std::size_t capacity, const char* name, const char* base) {
  if (capacity == 0) return nullptr;
  char joined[1024];
  if (capacity > sizeof joined) capacity = sizeof joined;
  if (!CopyWhole(joined, capacity, base ? base : destination)) return nullptr;
  if (!EnsureTrailingBackslash(joined, capacity)) return nullptr;
  if (!AppendWhole(joined, capacity, name)) return nullptr;
  std::memcpy(destination, joined, std::strlen(joined) + 1);
  return destination;
}

bool StartsWithDrive(const char* text) { return text[0] != '\0' && text[1] == ':'; }
