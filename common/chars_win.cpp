#include "chars.h"

#include <windows.h>

bool SameText(const char* a, const char* b) { return lstrcmpA(a, b) == 0; }

bool IsAlphaChar(char c) { return IsCharAlphaA(c) != FALSE; }

char UpperChar(char c) {
  // CharUpperA converts a single character when the high word is zero.
  DWORD_PTR v = static_cast<unsigned char>(c);
  return static_cast<char>(reinterpret_cast<DWORD_PTR>(CharUpperA(reinterpret_cast<LPSTR>(v))) & 0xFF);
}
