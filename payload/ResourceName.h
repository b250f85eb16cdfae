#pragma once
// Payload resource names carry the installed file's name in upper case, with
// markers that restore its letter case.

// Capacity of a resource-name buffer, terminator included.
constexpr int kResourceNameCapacity = 400;

// Rewrites a resource name in place into the file name it encodes and returns
// the same buffer. The name must be NUL-terminated; the result is never longer.
char* DecodeResourceName(char* name);
