#pragma once
// The two character rules that the name and path rules need. On Windows
// they are the system's own (IsCharAlphaA / CharUpperA, the user's ANSI
// code page); the native build answers for Windows-1252.

bool IsAlphaChar(char c);
char UpperChar(char c);

// Whether two texts are the same as the system's lstrcmpA judges them (the
// user's locale); the native build compares the bytes.
bool SameText(const char* a, const char* b);

// Lower-cases the ASCII letters A to Z only, as the path rules require.
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
