#include "chars.h"

#include <cstring>

bool SameText(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// Windows-1252, the ANSI code page of a Western European Windows.
bool IsAlphaChar(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C:
    case 0x9E: case 0x9F: case 0xAA: case 0xB5: case 0xBA:
      return true;
    default:
      break;
  }
  return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

char UpperChar(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  switch (c) {
    case 0x9A: return static_cast<char>(0x8A);
    case 0x9C: return static_cast<char>(0x8C);
    case 0x9E: return static_cast<char>(0x8E);
    case 0xFF: return static_cast<char>(0x9F);
    default: break;
  }
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 32);
  return ch;
}
