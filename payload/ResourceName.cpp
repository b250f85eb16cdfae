#include "ResourceName.h"

#include <cstring>

#include "../common/chars.h"

namespace {

void RemoveAt(char* text, std::size_t i, std::size_t count) {
  std::size_t len = std::strlen(text);
  std::memmove(text + i, text + i + count, len - i - count + 1);
}

}  // namespace

bool CapitalisesNext(char c) { return !IsAlphaChar(c) && c != '\'' && c != '.' && c != '8'; }

bool IsPrintableAscii(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u >= 0x20 && u <= 0x7E;
}

bool IsPrintableAsciiText(const char* text) {
  for (; *text; ++text)
    if (!IsPrintableAscii(*text)) return false;
  return true;
}

char* DecodeResourceName(char* name) {
  for (char* p = name; *p; ++p) *p = LowerAscii(*p);
  if (name[0]) name[0] = UpperChar(name[0]);

  // The last character of the current text is never the one examined.
  for (std::size_t i = 0; i + 1 < std::strlen(name); ++i) {
    if (name[i] == '_' && name[i + 1] == '_') {
      RemoveAt(name, i, 2);
      if (name[i]) name[i] = UpperChar(name[i]);
      if (name[i] == '_') {
        name[i] = ' ';
      } else if (name[i] == ':') {
        RemoveAt(name, i, 1);
        continue;  // the character that moved in is shielded
      }
    } else if (name[i] == '_') {
      name[i] = ' ';
    } else if (name[i] == ':') {
      RemoveAt(name, i, 1);
      continue;
    }
    if (name[i] && name[i + 1] && CapitalisesNext(name[i])) name[i + 1] = UpperChar(name[i + 1]);
  }
  return name;
}
