#pragma once
// The trace line's account of where a walk found a folder.
#include <cstddef>

// Hive name, key path and value name, each followed by two blanks. False (out
// unspecified but terminated) when it does not fit in capacity characters.
bool FormatFoundAt(char* out, std::size_t capacity, const char* hiveName, const char* keyPath, const char* name);
