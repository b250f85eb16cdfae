#pragma once
// In-place rules on ANSI path strings in caller-owned buffers. None of them
// needs the system; letter tests go through common/chars.h.
#include <cstddef>

// Lower-cases the ASCII letters of the whole string, then upper-cases its first
// character and every character between "A" and "z" that follows a non-letter:
// c:\program files\adobe\photoshop cs5\plug-ins\ -> C:\Program Files\Adobe\Photoshop Cs5\Plug-Ins\ .
void TitleCasePath(char* path);

// Lower-cases the ASCII letters A to Z of the whole string.
void LowerAsciiString(char* text);

// Appends "\" unless the string already ends with one. Returns path, or null
// (path unchanged) when the string is empty or the backslash does not fit in
// capacity characters, terminator included.
char* EnsureTrailingBackslash(char* path, std::size_t capacity);

// True when the text starts with a character and a colon: after
// StripToFirstLetter, a drive letter.
bool StartsWithDrive(const char* text);

// Removes every character before the first letter; a text without a letter
// becomes empty. Returns text.
char* StripToFirstLetter(char* text);

// Ends the text right after the last occurrence of ch, examining neither the
// first nor the last character. C:\Apps\Tool\tool.exe -> C:\Apps\Tool\ ;
// C:\Apps\Tool\ -> C:\Apps\ . Returns text.
char* CutAfterLastChar(char* text, char ch);

// destination = base (when base is not null), a backslash unless it already
// ends with one, then name. Returns destination, or null (destination
// unchanged) when the result would not fit in capacity characters or when
// the part before name is empty.
char* JoinPath(char* destination, std::size_t capacity, const char* name, const char* base = nullptr);
