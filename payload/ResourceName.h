#pragma once
// Payload resource names carry the installed file's name in upper case, with
// markers that restore its letter case.

// Capacity of a resource-name buffer, terminator included.
constexpr int kResourceNameCapacity = 400;

// Rewrites a resource name in place into the file name it encodes and returns
// the same buffer. The name must be NUL-terminated; the result is never longer.
char* DecodeResourceName(char* name);

// Whether the decoder upper-cases the character after c: every character
// that is not a letter (as the system judges letters) does, except the
// apostrophe, the full stop and the digit 8, so that an extension such as
// ".8bf" and a possessive "'s" stay in lower case. The encoder asks the same.
bool CapitalisesNext(char c);

// Resource names, and the file names they encode, hold printable ASCII only
// (0x20 to 0x7E); a name with any other character is not decoded.
bool IsPrintableAscii(char c);
bool IsPrintableAsciiText(const char* text);
